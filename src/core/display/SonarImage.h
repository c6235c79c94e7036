#pragma once

#include "core/display/Palette.h"
#include "core/display/PictureGeometry.h"
#include "core/display/PixelCode.h"

#include <cstdint>
#include <memory>

namespace dorvane {

// The 500 x 500 indexed sonar picture of one frame and its palette. Rows are
// stored bottom-up (row 0 is the bottom row); a pixel's value is a palette
// index: 0..254 are echo levels, 255 is the background no sample reaches.
class SonarImage
{
public:
    static constexpr uint8_t BackgroundLevel = 255;
    static constexpr size_t PixelCount = PictureSize * PictureSize;

    // A new picture is all background, invalid, with the full colour scale.
    SonarImage();
    ~SonarImage();
    SonarImage(const SonarImage &) = delete;
    SonarImage &operator=(const SonarImage &) = delete;

    // Every pixel back to the background; the palette stays.
    void reset();
    void setPalette(int minLevel, int maxLevel, int colourCount, bool grey);

    // Paints the 100,000 samples of a frame, turned by the frame's roll.
    void renderFrame(const uint8_t *samples, float roll);
    // A wheel whose level grows clockwise from the top, for palette previews.
    void renderTestPattern();

    bool isValid() const { return m_valid; }
    const uint8_t *pixels() const { return m_pixels.get(); }
    uint8_t pixel(int x, int yUp) const
    {
        return m_pixels[static_cast<size_t>(yUp * PictureSize + x)];
    }
    const Palette &palette() const { return m_palette; }

private:
    std::unique_ptr<uint8_t[]> m_pixels;
    // The samples in display order with echo levels capped at 254; reused by
    // every render.
    std::unique_ptr<uint8_t[]> m_displaySamples;
    Palette m_palette{};
    bool m_valid = false;
};

// The picture's defining pass, cell by cell in rendering order: for display
// beam b (source beam b - shift) and sample s, write the sample's level to
// every pixel of cell (b, s). SonarImage::renderFrame gives the same bytes.
void renderFrameCellByCell(uint8_t *pixels, const uint8_t *samples, float roll);

} // namespace dorvane
