#include "core/data/FrameHeader.h"

#include "core/base/ByteOrder.h"
#include "core/base/FixedText.h"

#include <cmath>
#include <cstring>

namespace dorvane {

namespace {

// Byte offsets of the header's fields.
namespace off {
constexpr size_t signature = 0;
constexpr size_t defectFrame = 2;
constexpr size_t reportShot = 3;
constexpr size_t excludeSediment = 4;
constexpr size_t pipeRadius = 8;
constexpr size_t errorRate = 12;
constexpr size_t detectRadius = 16;
constexpr size_t cableLength = 24;
constexpr size_t tilt = 32;
constexpr size_t roll = 36;
constexpr size_t pipeName = 40;
constexpr size_t title = 72;
constexpr size_t notes = 104;
constexpr size_t circleX = 304;
constexpr size_t circleY = 306;
constexpr size_t circleOn = 310;
constexpr size_t rulerOn = 311;
constexpr size_t rulerX1 = 312;
constexpr size_t rulerY1 = 314;
constexpr size_t rulerX2 = 316;
constexpr size_t rulerY2 = 318;
constexpr size_t reservedTail = 320;
} // namespace off

static_assert(off::title == off::pipeName + 32);
static_assert(off::notes == off::title + 32);
static_assert(off::circleX == off::notes + 200);
static_assert(off::reservedTail + 192 == FrameHeader::Size);

template<size_t N>
void readChars(std::array<char, N> &field, const uint8_t *p)
{
    std::memcpy(field.data(), p, N);
}

template<size_t N>
void writeChars(uint8_t *p, const std::array<char, N> &field)
{
    std::memcpy(p, field.data(), N);
}

} // namespace

FrameHeader FrameHeader::decode(std::span<const uint8_t, Size> bytes)
{
    const uint8_t *p = bytes.data();
    FrameHeader h;
    std::memcpy(h.rawBytes.data(), p, Size);
    h.signature = le::readU16(p + off::signature);
    h.defectFrame = p[off::defectFrame];
    h.reportShot = p[off::reportShot];
    h.excludeSediment = p[off::excludeSediment];
    h.pipeRadius = le::readU16(p + off::pipeRadius);
    h.errorRate = le::readU16(p + off::errorRate);
    h.detectRadius = le::readU16(p + off::detectRadius);
    h.cableLength = le::readF32(p + off::cableLength);
    h.tilt = le::readF32(p + off::tilt);
    h.roll = le::readF32(p + off::roll);
    readChars(h.pipeName, p + off::pipeName);
    readChars(h.title, p + off::title);
    readChars(h.notes, p + off::notes);
    h.circleX = le::readU16(p + off::circleX);
    h.circleY = le::readU16(p + off::circleY);
    h.circleOn = p[off::circleOn];
    h.rulerOn = p[off::rulerOn];
    h.rulerX1 = le::readU16(p + off::rulerX1);
    h.rulerY1 = le::readU16(p + off::rulerY1);
    h.rulerX2 = le::readU16(p + off::rulerX2);
    h.rulerY2 = le::readU16(p + off::rulerY2);
    return h;
}

void FrameHeader::encode(std::span<uint8_t, Size> bytes) const
{
    uint8_t *p = bytes.data();
    std::memcpy(p, rawBytes.data(), Size);
    le::writeU16(p + off::signature, signature);
    p[off::defectFrame] = defectFrame;
    p[off::reportShot] = reportShot;
    p[off::excludeSediment] = excludeSediment;
    le::writeU16(p + off::pipeRadius, pipeRadius);
    le::writeU16(p + off::errorRate, errorRate);
    le::writeU16(p + off::detectRadius, detectRadius);
    le::writeF32(p + off::cableLength, cableLength);
    le::writeF32(p + off::tilt, tilt);
    le::writeF32(p + off::roll, roll);
    writeChars(p + off::pipeName, pipeName);
    writeChars(p + off::title, title);
    writeChars(p + off::notes, notes);
    le::writeU16(p + off::circleX, circleX);
    le::writeU16(p + off::circleY, circleY);
    p[off::circleOn] = circleOn;
    p[off::rulerOn] = rulerOn;
    le::writeU16(p + off::rulerX1, rulerX1);
    le::writeU16(p + off::rulerY1, rulerY1);
    le::writeU16(p + off::rulerX2, rulerX2);
    le::writeU16(p + off::rulerY2, rulerY2);
}

std::array<uint8_t, FrameHeader::Size> FrameHeader::encoded() const
{
    std::array<uint8_t, Size> bytes{};
    encode(bytes);
    return bytes;
}

std::string_view FrameHeader::pipeNameText() const
{
    return fieldText(pipeName);
}

std::string_view FrameHeader::titleText() const
{
    return fieldText(title);
}

std::string_view FrameHeader::notesText() const
{
    return fieldText(notes);
}

void FrameHeader::setPipeName(std::string_view gbk)
{
    setFieldText(pipeName, gbk, 31);
}

void FrameHeader::setTitle(std::string_view gbk)
{
    setFieldText(title, gbk, 31);
}

void FrameHeader::setNotes(std::string_view gbk)
{
    setFieldText(notes, gbk, 199);
}

int FrameHeader::rulerLengthMm() const
{
    const double dx = static_cast<double>(rulerX1) - rulerX2;
    const double dy = static_cast<double>(rulerY1) - rulerY2;
    const int pixels = static_cast<int>(std::sqrt(dx * dx + dy * dy));
    // 64 bits: up to 92680 pixels times 65535 mm overflows an int.
    return static_cast<int>(static_cast<double>(int64_t{pixels} * detectRadius) * 0.004 + 0.5);
}

bool isConsistentHeader(const FrameHeader &header)
{
    return header.pipeRadius > 0 && header.pipeRadius <= header.detectRadius &&
           header.detectRadius >= 125 && header.detectRadius <= 6000 && header.errorRate <= 50;
}

} // namespace dorvane
