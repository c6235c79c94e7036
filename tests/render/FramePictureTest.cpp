#include "render/FramePicture.h"

#include "OverlayProbe.h"
#include "core/display/SonarImage.h"
#include "render/FrameOverlay.h"
#include "render/SonarPicture.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace dorvane;
using namespace dorvane::test;

TEST(FramePicture, UnrenderedImageIsBlackWithoutOverlay)
{
    const SonarImage image;
    FrameOverlay overlay;
    overlay.frameCount = 10;
    const QImage picture = framePicture(image, overlay, 500, true);
    ASSERT_EQ(picture.size(), QSize(500, 500));
    EXPECT_EQ(picture.format(), QImage::Format_RGB32);
    EXPECT_FALSE(anyPixel(picture, picture.rect(), White));
    for (int y = 0; y < 500; y += 7)
        for (int x = 0; x < 500; x += 7)
            ASSERT_EQ(picture.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;

    // Only the given rectangle is filled.
    QImage canvas(300, 300, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    drawFramePicture(painter, QRect(100, 50, 150, 150), image, overlay, true);
    painter.end();
    EXPECT_EQ(canvas.pixel(100, 50), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.pixel(249, 199), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.pixel(99, 50), White);
    EXPECT_EQ(canvas.pixel(250, 199), White);
    EXPECT_EQ(canvas.pixel(100, 200), White);
}

TEST(FramePicture, FullSizePictureIsTheSonarPictureUnderTheOverlay)
{
    SonarImage image;
    image.renderTestPattern();
    FrameOverlay overlay;
    overlay.frameCount = 5;
    const QImage sonar = sonarPicture(image);
    const QImage picture = framePicture(image, overlay, 500, true);
    // Unscaled, the picture's pixels come through as they are.
    for (int y = 40; y < 500; y += 3)
        for (int x = 0; x < 500; x += 3)
            ASSERT_EQ(picture.pixel(x, y), sonar.pixel(x, y)) << x << "," << y;
    EXPECT_EQ(picture.pixel(499, 0), qRgb(0xFC, 0x28, 0x00)); // background colour
    EXPECT_GT(brightCount(picture, QRect(0, 0, 100, 16)), 0); // the counter
}

TEST(FramePicture, OverlayOriginIsTheRectangleCorner)
{
    SonarImage image;
    image.renderTestPattern();
    const FrameHeader header = consistentHeader();
    FrameOverlay overlay;
    overlay.header = &header;
    const QImage sonar = sonarPicture(image);

    QImage canvas(700, 600, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    drawFramePicture(painter, QRect(100, 50, 500, 500), image, overlay, true);
    painter.end();
    EXPECT_EQ(canvas.pixel(100 + 250, 50 + 100), sonar.pixel(250, 100));
    // The level ROLL needle runs down column 35 of the picture.
    for (int y = 440; y < 490; ++y)
        ASSERT_EQ(canvas.pixel(100 + 35, 50 + y), White) << y;
    EXPECT_EQ(canvas.pixel(99, 50), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.pixel(600, 549), qRgb(0, 0, 0));
}

TEST(FramePicture, SmallerPictureHoldsTheWholeSonarPicture)
{
    SonarImage image;
    image.renderTestPattern();
    const FrameOverlay overlay;
    const QImage picture = framePicture(image, overlay, 333, false);
    ASSERT_EQ(picture.size(), QSize(333, 333));
    EXPECT_EQ(picture.format(), QImage::Format_RGB32);
    EXPECT_EQ(picture.pixel(0, 332), qRgb(0xFC, 0x28, 0x00));
    // The test pattern's level rises clockwise from the top: left of the top
    // beam is high, right of it is low.
    EXPECT_GT(qRed(picture.pixel(150, 40)), qRed(picture.pixel(183, 40)));
    EXPECT_TRUE(framePicture(image, overlay, 0, true).isNull());
}
