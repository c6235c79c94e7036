#pragma once

namespace dorvane {

class MovieEncoder;

// The video part of the program: FFmpeg's encoder behind MovieEncoder.
constexpr const char *VideoModuleFile = "libtessiq-video.so";
constexpr const char *VideoModuleEntry = "tessiqCreateMovieEncoder";
// A new encoder, owned by the caller.
using CreateMovieEncoderFunction = MovieEncoder *(*)();

} // namespace dorvane
