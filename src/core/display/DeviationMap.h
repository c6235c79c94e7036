#pragma once

#include "core/display/DeviationColour.h"
#include "core/display/DibBlock.h"
#include "core/display/Sediment.h"

#include <cstdint>
#include <span>

namespace dorvane {

// How far every beam's wall point of every frame lies from the pipe circle:
// one row per frame (frame 0 at the bottom), one column per beam, in
// deviation colours, smoothed away from the border. It is held as the 24-bit
// bitmap the 3D model takes as its texture, so that no copy is needed.
class DeviationMap
{
public:
    static constexpr int Width = 400;
    static constexpr int RowBytes = Width * 3;
    static constexpr int SmoothedBorder = 3;

    DeviationMap() = default;
    // One row per radius profile, frame 0 first.
    explicit DeviationMap(std::span<const RadiusProfile> profiles);

    int rows() const { return m_rows; }
    Rgb pixel(int beam, int frame) const;

    // The map as a 24-bit bitmap block, bottom row (frame 0) first: rows of
    // 1,200 bytes, blue-green-red.
    const DibBlock &mapBlock() const { return m_block; }

    // Rows first .. first + count - 1 of the map of profiles into out,
    // RowBytes each, exactly as the whole map holds them: for a picture made
    // a piece at a time without the whole map in memory.
    static void writeRows(std::span<const RadiusProfile> profiles, int first, int count,
                          uint8_t *out);

private:
    int m_rows = 0;
    DibBlock m_block{Width, 0, 24};
};

} // namespace dorvane
