#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// Every number in the probe's files is little-endian. These helpers read and
// write one field at a given byte offset, so that layouts are decoded field by
// field and never by casting file bytes onto a struct.
namespace dorvane::le {

inline uint16_t readU16(const uint8_t *p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t readU32(const uint8_t *p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline int32_t readI32(const uint8_t *p)
{
    return static_cast<int32_t>(readU32(p));
}

inline float readF32(const uint8_t *p)
{
    return std::bit_cast<float>(readU32(p));
}

inline void writeU16(uint8_t *p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline void writeU32(uint8_t *p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

inline void writeI32(uint8_t *p, int32_t v)
{
    writeU32(p, static_cast<uint32_t>(v));
}

inline void writeF32(uint8_t *p, float v)
{
    writeU32(p, std::bit_cast<uint32_t>(v));
}

} // namespace dorvane::le
