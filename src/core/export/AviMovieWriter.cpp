#include "core/export/AviMovieWriter.h"

#include "core/display/DibBlock.h"
#include "core/export/FrameEncodingThread.h"
#include "core/export/MovieEncoder.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <exception>
#include <utility>

namespace dorvane {

namespace {

constexpr const char *SucceededText = "Method Succeeded";
constexpr const char *NoCompatibleDc = "Unable to Create Compatible DC";
constexpr const char *NoHeap = "Unable to Create Heap";
constexpr const char *NoHeapMemory = "Unable to Allocate Memory on Heap";
constexpr const char *NoMovieFile = "Unable to Create the Movie File";
constexpr const char *NoVideoStream = "Unable to Create Video Stream in the Movie File";
constexpr const char *NoCompressedStream =
    "Unable to Create Compressed Stream: Check your CODEC options";
constexpr const char *NoStreamFormat = "Unable to Set Video Stream Format";
constexpr const char *WriteFailed = "Unable to Write Video Stream to the output Movie File";

uint32_t upperCase(uint32_t code)
{
    uint32_t upper = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const auto c = static_cast<unsigned char>(code >> shift);
        upper |= static_cast<uint32_t>(std::toupper(c)) << shift;
    }
    return upper;
}

// The encoder that serves a code: the codes of MPEG-4 video.
std::string encoderFor(uint32_t upperCode)
{
    constexpr std::array<uint32_t, 5> Mpeg4Codes = {
        fourCharacterCode("XVID"), fourCharacterCode("DIVX"), fourCharacterCode("DX50"),
        fourCharacterCode("FMP4"), fourCharacterCode("MP4V")};
    for (const uint32_t code : Mpeg4Codes)
        if (code == upperCode)
            return "mpeg4";
    return {};
}

const char *textFor(MovieEncoder::OpenResult result)
{
    using R = MovieEncoder::OpenResult;
    switch (result) {
    case R::Opened:
        return SucceededText;
    case R::NoFrame:
        return NoCompatibleDc;
    case R::NoPlanes:
        return NoHeap;
    case R::NoPacket:
        return NoHeapMemory;
    case R::NoFile:
        return NoMovieFile;
    case R::NoStream:
        return NoVideoStream;
    case R::NoEncoder:
        return NoCompressedStream;
    case R::NoFormat:
        return NoStreamFormat;
    }
    return NoStreamFormat;
}

} // namespace

AviMovieWriter::AviMovieWriter(std::string path, uint32_t codec, int framesPerSecond)
    : AviMovieWriter(std::move(path), codec, framesPerSecond, Options{})
{}

AviMovieWriter::AviMovieWriter(std::string path, uint32_t codec, int framesPerSecond,
                               Options options)
    : m_path(std::move(path)), m_codec(codec), m_framesPerSecond(framesPerSecond),
      m_options(std::move(options)), m_lastError(SucceededText)
{}

AviMovieWriter::~AviMovieWriter()
{
    release();
}

int32_t AviMovieWriter::appendFrame(const DibBlock &bitmap)
{
    return append(bitmap.width(), bitmap.height(), bitmap.row(0),
                  static_cast<ptrdiff_t>(bitmap.stride()), bitmap.bitsPerPixel());
}

int32_t AviMovieWriter::appendFrameBits(int width, int height, const uint8_t *bits,
                                        int bitsPerPixel)
{
    const auto stride =
        static_cast<ptrdiff_t>(DibBlock::strideFor(std::max(width, 1), bitsPerPixel));
    return append(width, height, bits, stride, bitsPerPixel);
}

int32_t AviMovieWriter::appendFrameRows(int width, int height, const uint8_t *bottomRow,
                                        ptrdiff_t rowStep, int bitsPerPixel)
{
    return append(width, height, bottomRow, rowStep, bitsPerPixel);
}

int32_t AviMovieWriter::append(int width, int height, const uint8_t *bottomRow, ptrdiff_t rowStep,
                               int bitsPerPixel)
{
    switch (m_state) {
    case Closed:
        return Failed;
    case Waiting:
        if (!open(width, height, bitsPerPixel))
            return Failed;
        m_state = Writing;
        break;
    case Writing:
        break;
    }
    if (width != m_width || height != m_height || bitsPerPixel != m_bitsPerPixel || !bottomRow ||
        !m_encoding->push(bottomRow, rowStep))
        return fail(WriteFailed);
    ++m_frameCounter;
    return Succeeded;
}

bool AviMovieWriter::open(int width, int height, int bitsPerPixel)
{
    const uint32_t tag = upperCase(m_codec);
    MovieEncoder::Settings settings;
    settings.path = m_path;
    settings.encoderName = m_options.encoder.empty() ? encoderFor(tag) : m_options.encoder;
    settings.codecTag = tag;
    settings.framesPerSecond = m_framesPerSecond;
    settings.width = width;
    settings.height = height;
    settings.bitsPerPixel = bitsPerPixel;
    // The encoder comes with the first frame: nothing loads FFmpeg before.
    std::string error;
    m_encoder = createMovieEncoder(error);
    if (!m_encoder) {
        fail((std::string(NoCompressedStream) + " (" + error + ")").c_str());
        return false;
    }
    const MovieEncoder::OpenResult result = m_encoder->open(settings);
    if (result != MovieEncoder::OpenResult::Opened) {
        fail(textFor(result));
        return false;
    }
    try {
        MovieEncoder &encoder = *m_encoder;
        m_encoding = std::make_unique<FrameEncodingThread>(
            height, static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel / 8),
            DibBlock::strideFor(width, bitsPerPixel),
            [&encoder](const uint8_t *bits) { return encoder.encode(bits); });
    } catch (const std::exception &) {
        // No room for the frames or no thread to encode them on.
        fail(NoHeapMemory);
        return false;
    }
    m_width = width;
    m_height = height;
    m_bitsPerPixel = bitsPerPixel;
    return true;
}

int32_t AviMovieWriter::fail(const char *text)
{
    m_lastError = text;
    release();
    return Failed;
}

bool AviMovieWriter::release()
{
    const bool wasWriting = m_state == Writing;
    m_state = Closed;
    if (!wasWriting) {
        m_encoding.reset();
        if (m_encoder)
            m_encoder->discard();
        return true;
    }
    const bool encodedAll = m_encoding->finish();
    m_encoding.reset();
    m_frameCounter = m_encoder->framesWritten();
    if (m_encoder->finish() && encodedAll)
        return true;
    // A frame that could not be encoded after the last append, or a movie
    // that could not be completed and is gone: say why unless an earlier
    // failure already did.
    const bool failed = !encodedAll || m_frameCounter > 0;
    if (failed && m_lastError == SucceededText)
        m_lastError = WriteFailed;
    return !failed;
}

} // namespace dorvane
