#include "OverlayProbe.h"
#include "render/FrameOverlay.h"

#include <gtest/gtest.h>
#include <limits>

using namespace dorvane;
using namespace dorvane::test;

namespace {

bool isWhite(const QImage &image, QPoint point)
{
    return image.pixel(point) == White;
}

// Every pixel of a horizontal or vertical run, ends included.
void expectWhiteRun(const QImage &image, QPoint from, QPoint to)
{
    const QPoint step((to.x() > from.x()) - (to.x() < from.x()),
                      (to.y() > from.y()) - (to.y() < from.y()));
    for (QPoint p = from;; p += step) {
        EXPECT_TRUE(isWhite(image, p)) << p.x() << "," << p.y();
        if (p == to)
            break;
    }
}

QImage gauges(float roll, float tilt)
{
    FrameHeader header = consistentHeader();
    header.roll = roll;
    header.tilt = tilt;
    FrameOverlay overlay;
    overlay.header = &header;
    return drawOverlay(overlay);
}

} // namespace

TEST(FrameOverlayGauges, LevelRollNeedleIsVerticalWithItsArrowheadAtTheBottom)
{
    const QImage image = gauges(0.0f, 0.0f);
    // Centre (35, 465), radius 35: from (35, 430) to the tip (35, 500).
    expectWhiteRun(image, QPoint(35, 430), QPoint(35, 499));
    EXPECT_FALSE(isWhite(image, QPoint(20, 465)));
    EXPECT_FALSE(isWhite(image, QPoint(50, 465)));
    // Barbs back from the tip: offsets (-5, 8) and (4, 8), cut toward zero
    // from -5.0000005 and 4.9999995.
    EXPECT_TRUE(isWhite(image, QPoint(40, 492)));
    EXPECT_TRUE(isWhite(image, QPoint(31, 492)));
    EXPECT_FALSE(isWhite(image, QPoint(41, 491)));
    EXPECT_FALSE(isWhite(image, QPoint(30, 491)));
    // The dial is inscribed in (0, 430)-(70, 500): columns 0 to 69.
    EXPECT_TRUE(anyPixel(image, QRect(0, 460, 1, 11), White));
    EXPECT_TRUE(anyPixel(image, QRect(69, 460, 1, 11), White));
    EXPECT_FALSE(anyPixel(image, QRect(70, 430, 1, 54), White));
}

TEST(FrameOverlayGauges, LevelPitchNeedleIsHorizontalWithItsArrowheadOnTheRight)
{
    const QImage image = gauges(0.0f, 0.0f);
    expectWhiteRun(image, QPoint(430, 465), QPoint(499, 465));
    EXPECT_FALSE(isWhite(image, QPoint(465, 450)));
    EXPECT_FALSE(isWhite(image, QPoint(465, 480)));
    // Barbs from the tip (500, 465): offsets (8, 4) and (8, -4).
    EXPECT_TRUE(isWhite(image, QPoint(492, 461)));
    EXPECT_TRUE(isWhite(image, QPoint(492, 469)));
    EXPECT_FALSE(isWhite(image, QPoint(491, 460)));
    EXPECT_FALSE(isWhite(image, QPoint(491, 470)));
}

TEST(FrameOverlayGauges, PositiveRollTurnsTheNeedleClockwise)
{
    const QImage image = gauges(30.0f, 0.0f);
    // Offsets (-17, 30): from (52, 435) through the centre to the tip (18, 495).
    EXPECT_TRUE(isWhite(image, QPoint(52, 435)));
    EXPECT_TRUE(isWhite(image, QPoint(35, 465)));
    EXPECT_TRUE(isWhite(image, QPoint(18, 495)));
    EXPECT_FALSE(isWhite(image, QPoint(35, 445)));
    EXPECT_FALSE(isWhite(image, QPoint(35, 490)));
    // Barbs: offsets (-8, 5) and (0, 10).
    EXPECT_TRUE(isWhite(image, QPoint(26, 490)));
    EXPECT_TRUE(isWhite(image, QPoint(18, 485)));
    EXPECT_FALSE(isWhite(image, QPoint(18, 484)));
}

TEST(FrameOverlayGauges, WordsAndValuesBesideTheDials)
{
    const QImage image = gauges(30.0f, -12.34f);
    constexpr int Line = Qt::AlignTop | Qt::TextSingleLine;
    const QImage expected = textReference({
        {QRect(0, 414, 70, 16), Line | Qt::AlignLeft, "ROLL"},
        {QRect(70, 484, 70, 16), Line | Qt::AlignLeft, "+30.0"},
        {QRect(430, 414, 70, 16), Line | Qt::AlignRight, "PITCH"},
        {QRect(360, 484, 70, 16), Line | Qt::AlignRight, "-12.3"},
    });
    EXPECT_TRUE(sameTextPixels(image, expected, QRect(0, 414, 70, 16)));
    EXPECT_TRUE(sameTextPixels(image, expected, QRect(70, 484, 70, 16)));
    EXPECT_TRUE(sameTextPixels(image, expected, QRect(430, 414, 70, 16)));
    EXPECT_TRUE(sameTextPixels(image, expected, QRect(360, 484, 70, 16)));
}

TEST(FrameOverlayGauges, HiddenWithoutHeaderOrWhenSwitchedOff)
{
    const FrameHeader header = consistentHeader();
    FrameOverlay overlay;
    EXPECT_EQ(brightCount(drawOverlay(overlay), QRect(0, 414, 500, 86)), 0);
    overlay.header = &header;
    overlay.showGauges = false;
    EXPECT_EQ(brightCount(drawOverlay(overlay), QRect(0, 414, 500, 86)), 0);
}

TEST(FrameOverlayGauges, UnreadableAngleDrawsTheDialWithoutNeedle)
{
    const QImage image = gauges(std::numeric_limits<float>::quiet_NaN(), 0.0f);
    EXPECT_TRUE(anyPixel(image, QRect(0, 460, 1, 11), White));
    EXPECT_FALSE(isWhite(image, QPoint(35, 465)));
}
