#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace dorvane {

// The encoding side of AviMovieWriter: one video stream encoded into an AVI
// file that is written under a temporary name beside its destination and put
// in place by finish(). Every picture is a bottom-up bitmap of 24 or 32 bits
// per pixel whose rows are padded to 4 bytes; each becomes one key frame.
// FFmpeg does the work, in a part of the program of its own
// (libtessiq-video.so in the program folder), loaded with the first movie,
// so that nothing else ever loads FFmpeg.
class MovieEncoder
{
public:
    // Where open() stopped.
    enum class OpenResult
    {
        Opened,
        NoFrame,   // the picture frame could not be made
        NoPlanes,  // its pixel planes could not be had
        NoPacket,  // the packet for the coded picture could not be had
        NoFile,    // the file could not be created
        NoStream,  // the stream could not be added (or the rate is not positive)
        NoEncoder, // the encoder is not there or refuses the settings
        NoFormat,  // the picture format or the file header was refused
    };

    struct Settings
    {
        std::string path;
        std::string encoderName;
        uint32_t codecTag = 0;
        int framesPerSecond = 0;
        int width = 0;
        int height = 0;
        int bitsPerPixel = 0;
    };

    virtual ~MovieEncoder() = default;

    // Opens the file and the encoder for pictures of the settings' size and
    // depth. On failure nothing is left open and no file is left behind.
    virtual OpenResult open(const Settings &settings) = 0;
    // Encodes one picture of the opened size and depth and writes it; false
    // when it could not be encoded or written.
    virtual bool encode(const uint8_t *bits) = 0;
    // Completes the file and puts it in place when at least one picture was
    // written and nothing failed on the way to the disk; otherwise drops it.
    // False when no complete file was put in place. Closes everything.
    virtual bool finish() = 0;
    // Drops the file and closes everything.
    virtual void discard() = 0;

    virtual int framesWritten() const = 0;
};

// A new encoder from the video part of the program; null, with what the
// system said in error, when that part cannot be loaded.
std::unique_ptr<MovieEncoder> createMovieEncoder(std::string &error);

} // namespace dorvane
