#include "OverlayProbe.h"
#include "render/FrameOverlay.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

using namespace dorvane;
using namespace dorvane::test;

namespace {

constexpr QRgb GridCyan = 0xFF00C8FF;
constexpr int LeftLine = Qt::AlignLeft | Qt::AlignTop;
constexpr int RightLine = Qt::AlignRight | Qt::AlignTop;

// An overlay showing only what a test switches on, no gauges.
FrameOverlay overlayFor(const FrameHeader &header)
{
    FrameOverlay overlay;
    overlay.header = &header;
    overlay.showGauges = false;
    return overlay;
}

FrameHeader withRuler(int x1, int y1, int x2, int y2)
{
    FrameHeader header = consistentHeader();
    header.rulerOn = 1;
    header.rulerX1 = static_cast<uint16_t>(x1);
    header.rulerY1 = static_cast<uint16_t>(y1);
    header.rulerX2 = static_cast<uint16_t>(x2);
    header.rulerY2 = static_cast<uint16_t>(y2);
    return header;
}

FrameHeader withCircle(int detectRadius, int pipeRadius, int x, int y)
{
    FrameHeader header = consistentHeader();
    header.detectRadius = static_cast<uint16_t>(detectRadius);
    header.pipeRadius = static_cast<uint16_t>(pipeRadius);
    header.circleOn = 1;
    header.circleX = static_cast<uint16_t>(x);
    header.circleY = static_cast<uint16_t>(y);
    return header;
}

// The expected ruler label on a picture that also shows the ruler line.
QImage rulerReference(const FrameHeader &h, const ExpectedText &label)
{
    QImage image = textReference({label});
    QPainter painter(&image);
    painter.setPen(Qt::white);
    painter.drawLine(h.rulerX1, h.rulerY1, h.rulerX2, h.rulerY2);
    return image;
}

} // namespace

TEST(FrameOverlayGrid, ConsistentHeaderLabelsEveryRing)
{
    FrameHeader header = consistentHeader();
    FrameOverlay overlay = overlayFor(header);
    overlay.showGrid = true;
    const QImage image = drawOverlay(overlay);

    EXPECT_EQ(image.pixel(250, 120), GridCyan);                     // vertical axis
    EXPECT_EQ(image.pixel(120, 250), GridCyan);                     // horizontal axis
    EXPECT_EQ(image.pixel(74, 74), GridCyan);                       // diagonal from (74, 74)
    EXPECT_EQ(image.pixel(100, 400), GridCyan);                     // the other diagonal
    EXPECT_TRUE(anyPixel(image, QRect(372, 29, 5, 8), GridCyan));   // outer ring at 30 degrees
    EXPECT_TRUE(anyPixel(image, QRect(0, 240, 1, 8), GridCyan));    // outer ring in the picture
    EXPECT_TRUE(anyPixel(image, QRect(186, 235, 4, 10), GridCyan)); // 25 % ring, inset 187

    constexpr int Label = Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine;
    const QImage expected = textReference({
        {QRect(437, 250, 63, 250), Label, "1000mm"},
        {QRect(375, 250, 63, 188), Label, "750mm"},
        {QRect(312, 250, 63, 125), Label, "500mm"},
        {QRect(250, 250, 63, 63), Label, "250mm"},
    });
    EXPECT_TRUE(sameTextPixels(image, expected, QRect(250, 240, 250, 40)));
}

TEST(FrameOverlayGrid, TakesItsColourAndNeedsTheSwitch)
{
    const FrameHeader header = consistentHeader();
    FrameOverlay overlay = overlayFor(header);
    EXPECT_FALSE(anyPixel(drawOverlay(overlay), QRect(0, 0, 500, 500), GridCyan));
    overlay.showGrid = true;
    overlay.gridColour = QColor(255, 200, 255);
    const QImage image = drawOverlay(overlay);
    EXPECT_EQ(image.pixel(250, 120), qRgb(255, 200, 255));
    EXPECT_FALSE(anyPixel(image, QRect(0, 0, 500, 500), GridCyan));
}

TEST(FrameOverlayGrid, ShortDetectionRadiusDropsRingLabelsAndWarns)
{
    FrameHeader header = withRuler(100, 350, 350, 350);
    header.detectRadius = 100;
    header.pipeRadius = 50;
    FrameOverlay overlay = overlayFor(header);
    overlay.showGrid = true;
    const QImage image = drawOverlay(overlay);

    EXPECT_EQ(brightCount(image, QRect(316, 250, 184, 30)), 0);
    const QImage warning = textReference(
        {{QRect(0, 250, 500, 250), Qt::AlignHCenter | Qt::AlignTop, "帧数据头存在错误"}});
    EXPECT_TRUE(sameTextPixels(image, warning, QRect(150, 245, 166, 30)));
    // The ruler is still drawn and labelled: 250 pixels of 0.4 mm.
    EXPECT_TRUE(sameTextPixels(image,
                               rulerReference(header, {QRect(0, 350, 100, 16), RightLine, "100mm"}),
                               QRect(0, 334, 500, 32)));
}

TEST(FrameOverlayGrid, ErrorRateAbove50Warns)
{
    FrameHeader header = consistentHeader();
    header.errorRate = 50;
    EXPECT_EQ(brightCount(drawOverlay(overlayFor(header)), QRect(150, 250, 200, 20)), 0);
    header.errorRate = 51;
    EXPECT_GT(brightCount(drawOverlay(overlayFor(header)), QRect(150, 250, 200, 20)), 0);
}

TEST(FrameOverlayRuler, ZeroLengthRulerHasNoLabel)
{
    const FrameHeader header = withRuler(200, 300, 200, 300);
    const QImage image = drawOverlay(overlayFor(header));
    EXPECT_LE(brightCount(image, QRect(0, 80, 500, 420)), 1);
}

TEST(FrameOverlayRuler, QuarterPictureRulerReadsTheDetectionRadius)
{
    // 250 pixels at 1000 mm per 250 pixels; the first end point is more
    // than 50 pixels from the left edge and left of the second, so the label
    // sits left of it, below the line.
    const FrameHeader header = withRuler(100, 300, 350, 300);
    const QImage image = drawOverlay(overlayFor(header));
    for (int x = 100; x <= 350; ++x)
        ASSERT_EQ(image.pixel(x, 300), White) << x;
    EXPECT_TRUE(
        sameTextPixels(image, rulerReference(header, {QRect(0, 300, 100, 16), RightLine, "1000mm"}),
                       QRect(0, 280, 500, 40)));
}

struct RulerCase
{
    const char *name;
    int x1, y1, x2, y2;
    ExpectedText label;
};

void PrintTo(const RulerCase &c, std::ostream *os)
{
    *os << c.name;
}

class FrameOverlayRulerSides : public ::testing::TestWithParam<RulerCase>
{};

TEST_P(FrameOverlayRulerSides, LabelAvoidsTheRulerAndTheEdge)
{
    const RulerCase &c = GetParam();
    const FrameHeader header = withRuler(c.x1, c.y1, c.x2, c.y2);
    const QImage image = drawOverlay(overlayFor(header));
    EXPECT_TRUE(sameTextPixels(image, rulerReference(header, c.label),
                               QRect(c.x1 - 150, c.y1 - 24, 300, 48)));
}

INSTANTIATE_TEST_SUITE_P(
    , FrameOverlayRulerSides,
    ::testing::Values(
        // Going down from y > 50: above the first end; x1 = x2: to the right.
        RulerCase{
            "DownFromTheTop", 300, 100, 300, 300, {QRect(300, 84, 200, 16), LeftLine, "800mm"}},
        // Near the right edge: left of the first end; same height: below.
        RulerCase{
            "NearTheRightEdge", 480, 400, 380, 400, {QRect(0, 400, 480, 16), RightLine, "400mm"}},
        // Near the bottom edge: above, whatever the direction.
        RulerCase{
            "NearTheBottomEdge", 200, 470, 200, 480, {QRect(200, 454, 300, 16), LeftLine, "40mm"}},
        // Near the top-left corner: right of and below the first end.
        RulerCase{
            "NearTheTopLeftCorner", 40, 40, 140, 40, {QRect(40, 40, 460, 16), LeftLine, "400mm"}}),
    [](const ::testing::TestParamInfo<RulerCase> &info) { return std::string(info.param.name); });

TEST(FrameOverlayCircle, CircleOnTheProbeIsDrawnWhereItWasPlaced)
{
    // Larger than the picture disc, centred on the probe: 300 pixels round
    // (250, 250), so only its arcs inside the picture show.
    const FrameHeader header = withCircle(500, 600, 250, 250);
    const QImage image = drawOverlay(overlayFor(header));
    EXPECT_TRUE(anyPixel(image, QRect(490, 75, 10, 20), White)); // its right-hand arc
}

TEST(FrameOverlayCircle, PulledCircleIsDrawnWithItsDiameter)
{
    const FrameHeader header = withCircle(500, 300, 450, 250);
    const QImage image = drawOverlay(overlayFor(header));
    // Drawn around (350, 250) with radius 150: columns 200 to 499, rows 100 to 399.
    EXPECT_TRUE(anyPixel(image, QRect(200, 245, 1, 11), White));
    EXPECT_FALSE(anyPixel(image, QRect(190, 100, 10, 300), White));
    EXPECT_TRUE(anyPixel(image, QRect(345, 100, 10, 1), White));
    EXPECT_FALSE(anyPixel(image, QRect(300, 90, 100, 10), White));
    EXPECT_FALSE(anyPixel(image, QRect(290, 240, 20, 20), White)); // where it was placed
    // The label is anchored on the placed centre: 106 pixels left and down,
    // extending to the left.
    const QImage label = textReference({{QRect(0, 356, 344, 16), RightLine, "600mm"}});
    EXPECT_TRUE(sameTextPixels(image, label, QRect(270, 356, 74, 16)));
    EXPECT_EQ(brightCount(image, QRect(300, 340, 150, 16)), 0);
}

TEST(FrameOverlayScaled, GridRulerAndCircleFollowTheWidth)
{
    FrameHeader header = withCircle(500, 300, 450, 250);
    header.rulerOn = 1;
    header.rulerX1 = 100;
    header.rulerY1 = 100;
    header.rulerX2 = 400;
    header.rulerY2 = 100;
    FrameOverlay overlay = overlayFor(header);
    overlay.showGrid = true;
    const QImage image = drawOverlay(overlay, 333);

    // Ruler (100, 100)-(400, 100) becomes (66, 66)-(266, 66).
    for (int x = 66; x <= 266; ++x)
        ASSERT_EQ(image.pixel(x, 66), White) << x;
    EXPECT_NE(image.pixel(280, 66), White);
    // Grid: centre 166, diagonals from 333 * 74 / 500 = 49.
    EXPECT_EQ(image.pixel(20, 166), GridCyan);
    EXPECT_EQ(image.pixel(166, 300), GridCyan);
    EXPECT_EQ(image.pixel(49, 49), GridCyan);
    // Circle square (200, 100)-(500, 400) becomes (133, 66)-(333, 266).
    EXPECT_TRUE(anyPixel(image, QRect(133, 160, 1, 12), White));
    EXPECT_FALSE(anyPixel(image, QRect(120, 100, 13, 130), White));
    EXPECT_TRUE(anyPixel(image, QRect(332, 160, 1, 12), White));
}
