#include "core/data/ImgFile.h"

#include "core/app/TextIds.h"
#include "core/base/ByteOrder.h"
#include "core/base/MessageSink.h"
#include "core/base/PosixFile.h"

#include <algorithm>
#include <memory>

namespace dorvane {

namespace {
// Offsets in the IMG header of the fields that are taken over.
constexpr size_t PipeNameOffset = 40, PipeNameBytes = 27;
constexpr size_t DetectRadiusOffset = 78;
constexpr size_t CableLengthOffset = 98;
constexpr size_t TitleOffset = 114, TitleBytes = 28;
constexpr size_t NotesOffset = 174, NotesBytes = 188;
constexpr size_t TiltOffset = 370;
constexpr size_t RollOffset = 374;
static_assert(RollOffset + 4 <= ImgLayout::HeaderSize);
static_assert(NotesOffset + NotesBytes <= TiltOffset);

constexpr uint16_t ImportedErrorRate = 20;
constexpr uint16_t ImportedCircleCentre = 250;

template<size_t N>
void copyText(std::array<char, N> &field, const uint8_t *source, size_t count)
{
    static_assert(N > 0);
    field.fill('\0');
    std::copy_n(source, std::min(count, N - 1), field.begin());
}
} // namespace

FrameHeader frameHeaderFromImg(std::span<const uint8_t, ImgLayout::HeaderSize> img)
{
    const uint8_t *p = img.data();
    FrameHeader h;
    h.signature = FrameHeader::Signature;
    copyText(h.pipeName, p + PipeNameOffset, PipeNameBytes);
    h.detectRadius = le::readU16(p + DetectRadiusOffset);
    h.cableLength = le::readF32(p + CableLengthOffset);
    copyText(h.title, p + TitleOffset, TitleBytes);
    copyText(h.notes, p + NotesOffset, NotesBytes);
    h.tilt = le::readF32(p + TiltOffset);
    h.roll = le::readF32(p + RollOffset);
    h.errorRate = ImportedErrorRate;
    h.pipeRadius = static_cast<uint16_t>(h.detectRadius * 70 / 100);
    h.circleX = ImportedCircleCentre;
    h.circleY = ImportedCircleCentre;
    return h;
}

bool readImgFrame(const std::string &path, FrameRecord &record)
{
    PosixFile file;
    std::array<uint8_t, ImgLayout::HeaderSize> header;
    const bool ok = file.open(path, PosixFile::Mode::Read) &&
                    file.readAt(0, header.data(), header.size()) &&
                    le::readU16(header.data()) == ImgLayout::Magic &&
                    file.readAt(header.size(), record.samples.data(), record.samples.size());
    if (!ok) {
        record.clear();
        return false;
    }
    record.header = frameHeaderFromImg(header);
    return true;
}

bool appendImgFrame(const std::string &path, PosixFile &out, MessageSink &messages)
{
    auto record = std::make_unique<FrameRecord>();
    if (!readImgFrame(path, *record)) {
        messages.showMessage(text::ImgFileError);
        return false;
    }
    const auto header = record->header.encoded();
    if (!out.write(header.data(), header.size()) ||
        !out.write(record->samples.data(), record->samples.size())) {
        messages.showMessage(text::SaveFileFailed);
        return false;
    }
    return true;
}

} // namespace dorvane
