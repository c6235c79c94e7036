#include "render/MovieFrame.h"

#include "OverlayProbe.h"
#include "core/display/SonarImage.h"
#include "core/export/AviMovieWriter.h"
#include "render/FrameOverlay.h"
#include "render/FramePicture.h"
#include "support/MovieReader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <vector>

using namespace dorvane;
using namespace dorvane::test;

namespace {

// Every pixel of the movie's picture is the frame picture's pixel there.
::testing::AssertionResult samePixels(const QImage &movie, const QImage &picture)
{
    if (movie.size() != picture.size() || movie.format() != QImage::Format_RGB32)
        return ::testing::AssertionFailure() << "the picture has another size or format";
    for (int y = 0; y < movie.height(); ++y)
        for (int x = 0; x < movie.width(); ++x)
            if (movie.pixel(x, y) != (picture.pixel(x, y) | 0xFF000000u))
                return ::testing::AssertionFailure() << "pixel " << x << "," << y;
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(MovieFrame, IsTheFramePicture)
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
                EXPECT_TRUE(samePixels(frame.draw(image, overlay, texts),
                                       framePicture(image, overlay, size, texts)))
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
    const QImage &picture = frame.draw(image, FrameOverlay(), false);
    EXPECT_EQ(picture.pixel(499, 0), 0xFFFC2800u);
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
    const QImage &picture = frame.draw(unrendered, overlay, true);
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 500; ++x)
            ASSERT_EQ(picture.pixel(x, y) & 0xFFFFFFu, 0u) << x << "," << y;
}

TEST(MovieFrame, APictureGoesIntoTheMovieTheRightWayUp)
{
    // Red above blue: Y 81, V 240 and Y 41, U 240 in BT.601's video range.
    QImage picture(64, 64, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 255));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            picture.setPixel(x, y, qRgb(255, 0, 0));
    TempDir dir;
    const std::string path = dir.file("movie.avi");
    // The frame's own format as it is, another converted.
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888}) {
        {
            AviMovieWriter writer(path, fourCharacterCode("Xvid"), 4);
            ASSERT_EQ(appendPicture(writer, picture.convertToFormat(format)), 0);
        }
        const Movie m = readMovie(path, {{20, 10}, {40, 54}});
        EXPECT_EQ(m.width, 64);
        ASSERT_EQ(m.y.size(), 2u) << format;
        EXPECT_NEAR(m.y[0], 81, 3) << format;
        EXPECT_NEAR(m.v[0], 240, 3) << format;
        EXPECT_NEAR(m.y[1], 41, 3) << format;
        EXPECT_NEAR(m.u[1], 240, 3) << format;
    }
}
