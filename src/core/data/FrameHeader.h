#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace dorvane {

// The 512-byte header in front of every frame's samples. Decoded and encoded
// field by field; bytes outside the named fields are kept as read, so a header
// written back is byte-identical apart from the fields that were changed. A
// default header is all zero bytes, as in a cleared record.
struct FrameHeader
{
    static constexpr size_t Size = 512;
    static constexpr uint16_t Signature = 73; // "I" and a zero byte

    uint16_t signature = 0;
    uint8_t defectFrame = 0;     // operator marked a defect
    uint8_t reportShot = 0;      // picture goes into the report
    uint8_t excludeSediment = 0; // no part in the sediment calculation
    uint16_t pipeRadius = 0;     // mm
    uint16_t errorRate = 0;      // percent
    uint16_t detectRadius = 0;   // mm covered by the 250 samples of a beam
    float cableLength = 0;       // m
    float tilt = 0;              // degrees
    float roll = 0;              // degrees
    std::array<char, 32> pipeName{};
    std::array<char, 32> title{};
    std::array<char, 200> notes{};
    uint16_t circleX = 0; // image pixels, y counted downwards
    uint16_t circleY = 0;
    uint8_t circleOn = 0;
    uint8_t rulerOn = 0;
    uint16_t rulerX1 = 0;
    uint16_t rulerY1 = 0;
    uint16_t rulerX2 = 0;
    uint16_t rulerY2 = 0;

    // Every byte of the 512 as last decoded (zero for a new header); the
    // named fields are written over it by encode().
    std::array<uint8_t, Size> rawBytes{};

    static FrameHeader decode(std::span<const uint8_t, Size> bytes);
    void encode(std::span<uint8_t, Size> bytes) const;
    std::array<uint8_t, Size> encoded() const;

    // Texts as GBK, never reading past their fields.
    std::string_view pipeNameText() const;
    std::string_view titleText() const;
    std::string_view notesText() const;
    // Store GBK texts: at most 31, 31 and 199 bytes, whole characters only.
    void setPipeName(std::string_view gbk);
    void setTitle(std::string_view gbk);
    void setNotes(std::string_view gbk);

    // Ruler length in millimetres: whole pixels first, then scaled and rounded.
    int rulerLengthMm() const;
};

// Whether the header's scale can be trusted: pipe radius in 1..detectRadius,
// detectRadius in 125..6000 and errorRate at most 50. Only such a header gets
// millimetre labels on its grid; any other draws a warning.
bool isConsistentHeader(const FrameHeader &header);

} // namespace dorvane
