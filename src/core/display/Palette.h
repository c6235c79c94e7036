#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace dorvane {

// One palette entry in bitmap order: blue, green, red, reserved.
struct PaletteEntry
{
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;

    static constexpr PaletteEntry fromRgb(uint32_t rrggbb)
    {
        return {static_cast<uint8_t>(rrggbb), static_cast<uint8_t>(rrggbb >> 8),
                static_cast<uint8_t>(rrggbb >> 16), 0};
    }
    constexpr uint32_t rgb() const
    {
        return (static_cast<uint32_t>(red) << 16) | (static_cast<uint32_t>(green) << 8) | blue;
    }
    friend constexpr bool operator==(const PaletteEntry &, const PaletteEntry &) = default;
};

using Palette = std::array<PaletteEntry, 256>;

// The two source scales: black to white, and dark blue through cyan, green,
// yellow and orange to red.
const Palette &greyRamp();
const Palette &colourTable();

// The palette for the given levels: levels up to minLevel take the first
// colour, levels from maxLevel on the last, and the levels between are
// stretched over the whole source scale in bands of 256 / colourCount levels.
Palette buildPalette(int minLevel, int maxLevel, int colourCount, bool grey);

} // namespace dorvane
