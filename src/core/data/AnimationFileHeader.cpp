#include "core/data/AnimationFileHeader.h"

#include "core/base/ByteOrder.h"
#include "core/base/GbkText.h"

#include <algorithm>

namespace dorvane {

namespace {
constexpr size_t PlaceOffset = AnimationFileHeader::TextsBegin;
constexpr size_t StartWellOffset = 72;
constexpr size_t EndWellOffset = 80;
static_assert(PlaceOffset + AnimationFileHeader::PlaceBytes == StartWellOffset);
static_assert(StartWellOffset + AnimationFileHeader::WellBytes == EndWellOffset);
static_assert(EndWellOffset + AnimationFileHeader::WellBytes + 936 == AnimationFileHeader::Size);
} // namespace

AnimationFileHeader AnimationFileHeader::newAnimation()
{
    AnimationFileHeader h;
    h.setMagic(Magic);
    return h;
}

uint16_t AnimationFileHeader::magic() const
{
    return le::readU16(m_bytes.data());
}

void AnimationFileHeader::setMagic(uint16_t magic)
{
    le::writeU16(m_bytes.data(), magic);
}

std::string_view AnimationFileHeader::place() const
{
    return text(PlaceOffset, PlaceBytes);
}

std::string_view AnimationFileHeader::startWell() const
{
    return text(StartWellOffset, WellBytes);
}

std::string_view AnimationFileHeader::endWell() const
{
    return text(EndWellOffset, WellBytes);
}

void AnimationFileHeader::setPlace(std::string_view gbk)
{
    setText(PlaceOffset, PlaceBytes, gbk);
}

void AnimationFileHeader::setStartWell(std::string_view gbk)
{
    setText(StartWellOffset, WellBytes, gbk);
}

void AnimationFileHeader::setEndWell(std::string_view gbk)
{
    setText(EndWellOffset, WellBytes, gbk);
}

std::string_view AnimationFileHeader::text(size_t offset, size_t size) const
{
    const auto *begin = reinterpret_cast<const char *>(m_bytes.data() + offset);
    const auto *end = std::find(begin, begin + size, '\0');
    return std::string_view(begin, static_cast<size_t>(end - begin));
}

void AnimationFileHeader::setText(size_t offset, size_t size, std::string_view gbk)
{
    // The text and its terminator when it fits, else just the text; bytes
    // after them keep their old values and are never read.
    const std::string_view fitted = fitGbk(gbk.substr(0, gbk.find('\0')), size);
    auto *field = m_bytes.data() + offset;
    std::copy(fitted.begin(), fitted.end(), field);
    if (fitted.size() < size)
        field[fitted.size()] = 0;
}

} // namespace dorvane
