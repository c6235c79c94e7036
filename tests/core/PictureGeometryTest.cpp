#include "core/display/PictureGeometry.h"

#include <gtest/gtest.h>

using namespace dorvane;

TEST(PictureGeometry, CircleRadiusInPixels)
{
    FrameHeader h;
    h.detectRadius = 500;
    h.pipeRadius = 300;
    EXPECT_EQ(circleRadiusPixels(h), 150);
    h.detectRadius = 1000;
    h.pipeRadius = 401; // 100.25 rounds down
    EXPECT_EQ(circleRadiusPixels(h), 100);
    h.pipeRadius = 402; // 100.5 rounds up
    EXPECT_EQ(circleRadiusPixels(h), 101);
    h.detectRadius = 0;
    EXPECT_EQ(circleRadiusPixels(h), 0);
}

TEST(PictureGeometry, CirclesArePulledIntoThePictureDisc)
{
    EXPECT_EQ(pullIntoDisc({450, 250}, 150), (ScreenPoint{350, 250}));
    EXPECT_EQ(pullIntoDisc({300, 250}, 150), (ScreenPoint{300, 250})); // fits
    EXPECT_EQ(pullIntoDisc({250, 250}, 400), (ScreenPoint{250, 250})); // no direction
    EXPECT_EQ(pullIntoDisc({250, 50}, 100), (ScreenPoint{250, 100}));
    // A circle as large as the disc can only sit at the centre.
    EXPECT_EQ(pullIntoDisc({300, 320}, 250), (ScreenPoint{250, 250}));
}

TEST(PictureGeometry, TheCircleToolPushesTheSquareBackFirst)
{
    // Far right: the square stops at the edge (centre 400), where the circle
    // just fits the disc. Far into the corner it stops at (400, 400), outside
    // the disc, and is pulled back to 150 pixels from the centre.
    EXPECT_EQ(keepCircleInPicture({900, 250}, 100), (ScreenPoint{400, 250}));
    EXPECT_EQ(keepCircleInPicture({900, 900}, 100), (ScreenPoint{356, 356}));
    EXPECT_EQ(keepCircleInPicture({-40, 250}, 100), (ScreenPoint{100, 250}));
    EXPECT_EQ(keepCircleInPicture({250, 250}, 250), (ScreenPoint{250, 250}));
    EXPECT_EQ(keepCircleInPicture({480, 30}, 250), (ScreenPoint{250, 250}));
    EXPECT_EQ(keepCircleInPicture({260, 240}, 50), (ScreenPoint{260, 240}));
}

TEST(PictureGeometry, TheCircleToolPushesBackAtTheTopAndBottomEdges)
{
    // Square from y = -60: pushed down to start at 0, centre 100, which lies
    // 150 pixels from the picture centre: just inside the disc.
    EXPECT_EQ(keepCircleInPicture({250, 40}, 100), (ScreenPoint{250, 100}));
    // Square to y = 570: pushed up to end at 500, centre 400.
    EXPECT_EQ(keepCircleInPicture({250, 470}, 100), (ScreenPoint{250, 400}));
    // Up at the top and off to the side: square centre (350, 100) is
    // sqrt(100^2 + 150^2) = 180.3 from the centre, beyond the reach of 150,
    // so it is pulled in along the ray: 250 + 150 * 100 / 180 = 333,
    // 250 - 150 * 150 / 180 = 125.
    EXPECT_EQ(keepCircleInPicture({350, 10}, 100), (ScreenPoint{333, 125}));
    // The same at the bottom: square centre (350, 400), pulled to
    // 250 + 150 * 150 / 180 = 375.
    EXPECT_EQ(keepCircleInPicture({350, 490}, 100), (ScreenPoint{333, 375}));
}

TEST(PictureGeometry, PointsBeyondTheDiscLandOnItsEdge)
{
    EXPECT_EQ(projectOntoDisc({600, 250}), (ScreenPoint{500, 250}));
    EXPECT_EQ(projectOntoDisc({250, -100}), (ScreenPoint{250, 0}));
    EXPECT_EQ(projectOntoDisc({499, 499}), (ScreenPoint{426, 426}));
    EXPECT_EQ(projectOntoDisc({300, 300}), (ScreenPoint{300, 300}));
}

namespace {
FrameHeader withCircle(int detectRadius, int pipeRadius, int x, int y)
{
    FrameHeader h;
    h.detectRadius = static_cast<uint16_t>(detectRadius);
    h.pipeRadius = static_cast<uint16_t>(pipeRadius);
    h.circleOn = 1;
    h.circleX = static_cast<uint16_t>(x);
    h.circleY = static_cast<uint16_t>(y);
    return h;
}
} // namespace

TEST(PictureGeometry, OutsideCircleIsDrawnPulledBackIntoThePictureDisc)
{
    // 300 mm of 500 mm: 150 pixels.
    EXPECT_EQ(drawnCircle(withCircle(500, 300, 450, 250)), (DrawnCircle{{350, 250}, 150}));
    // 282 pixels out, pulled to 100: 200 * 100 / 282 = 70 on each axis.
    EXPECT_EQ(drawnCircle(withCircle(500, 300, 450, 450)), (DrawnCircle{{320, 320}, 150}));
    EXPECT_EQ(drawnCircle(withCircle(500, 300, 300, 250)), (DrawnCircle{{300, 250}, 150}));
}

TEST(PictureGeometry, DrawnCircleOnTheProbeNeverDivides)
{
    // Larger than the picture disc, centred on the probe: no direction to
    // pull it in, so it stays.
    EXPECT_EQ(drawnCircle(withCircle(500, 600, 250, 250)), (DrawnCircle{{250, 250}, 300}));
    EXPECT_EQ(drawnCircle(withCircle(0, 300, 250, 250)), (DrawnCircle{{250, 250}, 0}));
}
