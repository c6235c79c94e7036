#include "core/export/VideoModule.h"

#include "core/export/FfmpegMovieEncoder.h"

#include <type_traits>

// The one function the video part exports.
extern "C" __attribute__((visibility("default"))) dorvane::MovieEncoder *tessiqCreateMovieEncoder()
{
    return new dorvane::FfmpegMovieEncoder;
}

static_assert(
    std::is_same_v<decltype(&tessiqCreateMovieEncoder), dorvane::CreateMovieEncoderFunction>);
