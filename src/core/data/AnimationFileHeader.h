#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace dorvane {

// The 1024 bytes at the start of an animation file. They are kept as bytes so
// that everything but the magic and the three text fields is written back
// exactly as it was read.
class AnimationFileHeader
{
public:
    static constexpr size_t Size = 1024;
    static constexpr uint16_t Magic = 22089; // "IV"
    static constexpr size_t PlaceBytes = 64;
    static constexpr size_t WellBytes = 8;
    // The place and the two wells lie back to back from byte 8 to byte 87.
    static constexpr size_t TextsBegin = 8;
    static constexpr size_t TextsEnd = TextsBegin + PlaceBytes + 2 * WellBytes;

    // All zero: no animation.
    AnimationFileHeader() = default;
    // The magic followed by 1022 zero bytes.
    static AnimationFileHeader newAnimation();

    std::array<uint8_t, Size> &bytes() { return m_bytes; }
    const std::array<uint8_t, Size> &bytes() const { return m_bytes; }

    uint16_t magic() const;
    void setMagic(uint16_t magic);
    bool isAnimation() const { return magic() == Magic; }

    // GBK texts, at most 64, 8 and 8 bytes, stopping at the first zero.
    std::string_view place() const;
    std::string_view startWell() const;
    std::string_view endWell() const;
    // Whole characters only; a text that fills the field has no terminator,
    // a shorter one ends with a zero and leaves the bytes after it alone.
    void setPlace(std::string_view gbk);
    void setStartWell(std::string_view gbk);
    void setEndWell(std::string_view gbk);

    void clear() { m_bytes.fill(0); }

private:
    std::string_view text(size_t offset, size_t size) const;
    void setText(size_t offset, size_t size, std::string_view gbk);

    std::array<uint8_t, Size> m_bytes{};
};

} // namespace dorvane
