#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace dorvane {

class DibBlock;
class FrameEncodingThread;
class MovieEncoder;

// A four-character code as AVI files hold it: the first letter in the low
// byte, so fourCharacterCode("Xvid") is 0x64697658.
constexpr uint32_t fourCharacterCode(const char (&code)[5])
{
    return static_cast<uint32_t>(static_cast<uint8_t>(code[0])) |
           static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24;
}

// Turns equally sized bitmaps into an AVI movie with one compressed video
// stream at a fixed rate, every frame a key frame. The file is created by the
// first frame, which fixes the size and depth of all frames; it is written
// under a temporary name in the destination's folder and put in place by
// release(), so a movie is complete or absent. After any failure the writer
// is closed: the frames written before it stay a complete movie (unless the
// disk itself failed, which leaves no file), and every later append fails at
// once. Each failure leaves an English text in lastError().
//
// An append copies the frame and returns while the frames before it are
// encoded on a thread of the writer's own, so that the caller draws the next
// frame meanwhile. An encoding failure is therefore told by the next append,
// or by release() when no append follows.
//
// The codes XVID, DIVX, DX50, FMP4 and MP4V (in any case) are served by
// FFmpeg's MPEG-4 video encoder and written as the upper-case code; any
// other code has no encoder unless one is named in the options.
class AviMovieWriter
{
public:
    static constexpr int32_t Succeeded = 0;
    static constexpr int32_t Failed = static_cast<int32_t>(0x80004005u); // E_FAIL

    enum State
    {
        Closed = 0,  // released, or failed
        Waiting = 1, // no frame yet: no file either
        Writing = 2,
    };

    struct Options
    {
        // The FFmpeg encoder to use; empty takes the one that serves the code.
        std::string encoder;
    };

    AviMovieWriter(std::string path, uint32_t codec, int framesPerSecond);
    AviMovieWriter(std::string path, uint32_t codec, int framesPerSecond, Options options);
    // Releases the writer.
    ~AviMovieWriter();
    AviMovieWriter(const AviMovieWriter &) = delete;
    AviMovieWriter &operator=(const AviMovieWriter &) = delete;

    // Adds a bitmap of 24 or 32 bits per pixel as the next frame.
    int32_t appendFrame(const DibBlock &bitmap);
    // Adds the next frame from a bottom-up bitmap block of width x height
    // pixels at bitsPerPixel (24 or 32), each row padded to 4 bytes.
    int32_t appendFrameBits(int width, int height, const uint8_t *bits, int bitsPerPixel);
    // Adds the next frame from rows of width pixels at bitsPerPixel (24 or
    // 32) wherever they lie: bottomRow is the picture's bottom row, and each
    // row above it starts rowStep bytes on from the one below (negative for a
    // picture stored top row first).
    int32_t appendFrameRows(int width, int height, const uint8_t *bottomRow, ptrdiff_t rowStep,
                            int bitsPerPixel);

    // "Method Succeeded" until the first failure, then what failed.
    const std::string &lastError() const { return m_lastError; }
    State state() const { return m_state; }
    // The frames taken; once closed, those the encoder wrote.
    int framesWritten() const { return m_frameCounter; }

    // Waits for the frames taken to be encoded, completes the movie and
    // closes the writer. False when the encoding failed after the last
    // append (the movie keeps the frames before the failure, as after a
    // failed append), or when frames were written but the movie could not be
    // completed (nothing is left then); true otherwise, also when there was
    // nothing to write.
    bool release();

private:
    int32_t append(int width, int height, const uint8_t *bottomRow, ptrdiff_t rowStep,
                   int bitsPerPixel);
    bool open(int width, int height, int bitsPerPixel);
    int32_t fail(const char *text);

    std::string m_path;
    uint32_t m_codec;
    int m_framesPerSecond;
    Options m_options;
    std::unique_ptr<MovieEncoder> m_encoder;
    // Feeds m_encoder while writing; ends before m_encoder is touched here.
    std::unique_ptr<FrameEncodingThread> m_encoding;
    int m_width = 0;
    int m_height = 0;
    int m_bitsPerPixel = 0;
    int m_frameCounter = 0;
    std::string m_lastError;
    State m_state = Waiting;
};

} // namespace dorvane
