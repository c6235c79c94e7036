#include "render/MovieFrame.h"

#include "OverlayProbe.h"
#include "core/display/SonarImage.h"
#include "render/FrameOverlay.h"
#include "render/FramePicture.h"

#include <gtest/gtest.h>
#include <vector>

using namespace dorvane;
using namespace dorvane::test;

namespace {

// Every pixel of the bitmap is the picture's pixel of the same place, the
// rows counted from the bottom.
::testing::AssertionResult samePixels(const DibBlock &bitmap, const QImage &picture)
{
    if (bitmap.width() != picture.width() || bitmap.height() != picture.height() ||
        bitmap.bitsPerPixel() != 32)
        return ::testing::AssertionFailure() << "the bitmap has another size or depth";
    const int h = bitmap.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            const uint8_t *p = bitmap.row(y) + 4 * x;
            const QRgb c = picture.pixel(x, h - 1 - y);
            if (p[0] != qBlue(c) || p[1] != qGreen(c) || p[2] != qRed(c))
                return ::testing::AssertionFailure() << "pixel " << x << "," << (h - 1 - y);
        }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(MovieFrame, IsTheFramePictureBottomRowFirst)
{
    const FrameHeader header = consistentHeader();
    FrameOverlay overlay;
    overlay.setFrame(&header, nullptr, 3, 12);
    // The full colour scale, and a grey one of fewer colours over a narrower range.
    for (const bool grey : {false, true}) {
        SonarImage image;
        if (grey)
            image.setPalette(20, 200, 64, true);
        image.renderTestPattern();
        for (const int size : {500, 333}) {
            MovieFrame frame(size);
            for (const bool texts : {true, false}) {
                const DibBlock &bitmap = frame.draw(image, overlay, texts);
                EXPECT_TRUE(samePixels(bitmap, framePicture(image, overlay, size, texts)))
                    << size << " " << texts << " " << grey;
            }
        }
    }
}

TEST(MovieFrame, TheTopRightCornerIsTheBackgroundColour)
{
    SonarImage image;
    image.renderTestPattern();
    MovieFrame frame(500);
    const DibBlock &bitmap = frame.draw(image, FrameOverlay(), false);
    // The background colour 0xFC2800 at the top row, the last of the bitmap.
    const uint8_t *corner = bitmap.row(499) + 4 * 499;
    EXPECT_EQ(corner[0], 0x00);
    EXPECT_EQ(corner[1], 0x28);
    EXPECT_EQ(corner[2], 0xFC);
}

TEST(MovieFrame, NothingOfThePreviousFrameRemains)
{
    SonarImage image;
    image.renderTestPattern();
    const FrameHeader header = consistentHeader();
    FrameOverlay overlay;
    overlay.setFrame(&header, nullptr, 7, 12);
    MovieFrame frame(500);
    frame.draw(image, overlay, true);

    // An image with no frame rendered draws all black.
    const SonarImage unrendered;
    const DibBlock &bitmap = frame.draw(unrendered, overlay, true);
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 500; ++x)
            ASSERT_EQ(bitmap.row(y)[4 * x] | bitmap.row(y)[4 * x + 1] | bitmap.row(y)[4 * x + 2], 0)
                << x << "," << y;
}
