#pragma once

#include "core/display/DeviationColour.h"
#include "core/display/Sediment.h"

#include <cstdint>
#include <span>
#include <vector>

namespace dorvane {

class DibBlock;

// How far every beam's wall point of every frame lies from the pipe circle:
// one row per frame (frame 0 at the bottom), one column per beam, in
// deviation colours, smoothed away from the border.
class DeviationMap
{
public:
    static constexpr int Width = 400;
    static constexpr int SmoothedBorder = 3;

    DeviationMap() = default;
    // One row per radius profile, frame 0 first.
    explicit DeviationMap(std::span<const RadiusProfile> profiles);

    int rows() const { return m_rows; }
    Rgb pixel(int beam, int frame) const;
    // Rows of 1,200 bytes, blue-green-red, frame 0 first.
    const std::vector<uint8_t> &bytes() const { return m_bytes; }

    // The map as a 24-bit bitmap block, bottom row (frame 0) first.
    DibBlock mapBlock() const;

private:
    void smooth();

    int m_rows = 0;
    std::vector<uint8_t> m_bytes;
};

} // namespace dorvane
