#include "core/display/SedimentChartScale.h"

#include <gtest/gtest.h>
#include <limits>

using namespace dorvane;

TEST(SedimentChartScale, XRangeEnclosesTheCableLengths)
{
    auto scale = SedimentChartScale::of({12.3f, 30.0f, 47.0f}, 600);
    EXPECT_EQ(scale.xmin, 10.0);
    EXPECT_EQ(scale.xmax, 50.0);
    EXPECT_EQ(SedimentChartScale::of({12.3f, 50.0f}, 600).xmax, 50.0);
    // Just above a multiple of 5 the range still reaches past the last frame.
    EXPECT_EQ(SedimentChartScale::of({12.3f, 45.001f}, 600).xmax, 50.0);
    EXPECT_EQ(SedimentChartScale::of({-3.2f, 8.0f}, 600).xmin, -5.0);
    EXPECT_EQ(SedimentChartScale::of({-12.0f, -3.0f}, 600).xmax, 0.0);
    scale = SedimentChartScale::of({0.0f}, 600);
    EXPECT_FALSE(scale.hasXRange());
    EXPECT_FALSE(SedimentChartScale::of({}, 600).hasXRange());
}

TEST(SedimentChartScale, YRangeIsThePipeDiameter)
{
    auto scale = SedimentChartScale::of({1.0f, 20.0f}, 600);
    EXPECT_EQ(scale.ymax, 1200);
    EXPECT_EQ(scale.yTickStep(), 500);
    scale = SedimentChartScale::of({1.0f, 20.0f}, 500);
    EXPECT_EQ(scale.yTickStep(), 500); // 1000 mm
    scale = SedimentChartScale::of({1.0f, 20.0f}, 499);
    EXPECT_EQ(scale.ymax, 998);
    EXPECT_EQ(scale.yTickStep(), 100);
}

TEST(SedimentChartScale, AverageLeavesOutExcludedFramesAndTheEnds)
{
    // xmin 10, xmax 25: the frame at 10.0 (xmin) and those from 25 on are
    // left out, and so is the excluded one (-1).
    const std::vector<float> cable = {10.0f, 11.0f, 12.0f, 13.0f, 24.9f, 25.0f, 12.0f};
    const std::vector<int32_t> depth = {1000, 100, -1, 200, 300, 5000, 7000};
    const auto scale = SedimentChartScale::of({10.0f, 23.0f}, 600);
    EXPECT_EQ(scale.xmax, 25.0);
    // The scan stops at 25.0: the last frame is not reached either.
    EXPECT_EQ(scale.averageDepth(cable, depth), (100 + 200 + 300) / 3);
    EXPECT_EQ(scale.averageDepth(cable, std::vector<int32_t>(7, -1)), 0);
    // One frame at 0.0 m: no x range, no average. At 3.0 m: 0..5 m, counted.
    EXPECT_EQ(SedimentChartScale::of({0.0f}, 600).averageDepth({0.0f}, {40}), 0);
    EXPECT_EQ(SedimentChartScale::of({3.0f}, 600).averageDepth({3.0f}, {40}), 40);
}

TEST(SedimentChartScale, XTicksEveryFiveMetres)
{
    EXPECT_EQ(SedimentChartScale::of({12.3f, 47.0f}, 600).xTickCount(), 9); // 10, 15, ..., 50
    EXPECT_EQ(SedimentChartScale::of({0.0f, 2000.0f}, 600).xTickCount(), 401);
    EXPECT_EQ(SedimentChartScale::of({-3.0f, 3.0f}, 600).xTickCount(), 3); // -5, 0, 5
    EXPECT_EQ(SedimentChartScale::of({0.0f, 10000.0f}, 600).xTickCount(), 1000);
    EXPECT_EQ(SedimentChartScale::of({0.0f}, 600).xTickCount(), 0);
    EXPECT_EQ(SedimentChartScale::of({47.0f, 12.3f}, 600).xTickCount(), 0); // 45 back to 15
}

TEST(SedimentChartScale, NonFiniteLengthsAreLeftOutOfRangeAndAverage)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // The range runs from the first finite length to the last: 10..25 m.
    auto scale = SedimentChartScale::of({nan, 12.0f, inf, 18.0f, 23.0f, -inf}, 600);
    EXPECT_EQ(scale.xmin, 10.0);
    EXPECT_EQ(scale.xmax, 25.0);
    EXPECT_FALSE(SedimentChartScale::of({nan, inf}, 600).hasXRange());
    // The frames between 10 and 25 m: 12, 18 and 23; the NaN and infinite
    // ones are passed over, not the end of the scan.
    const std::vector<float> cable = {nan, 12.0f, inf, 18.0f, nan, -inf, 23.0f};
    const std::vector<int32_t> depth = {900, 100, 900, 200, 900, 900, 600};
    EXPECT_EQ(scale.averageDepth(cable, depth), (100 + 200 + 600) / 3);
}

TEST(SedimentChartScale, HugeLengthsKeepTheTickCountBounded)
{
    // (1e30 - 0) / 5 steps: the cap, not a conversion out of range.
    EXPECT_EQ(SedimentChartScale::of({0.0f, 1e30f}, 600).xTickCount(), 1000);
    const float most = std::numeric_limits<float>::max();
    EXPECT_EQ(SedimentChartScale::of({-most, most}, 600).xTickCount(), 1000);
    // 4990 m: 999 steps, 1000 ticks; 4995 m: still 1000.
    EXPECT_EQ(SedimentChartScale::of({0.0f, 4990.0f}, 600).xTickCount(), 999);
    EXPECT_EQ(SedimentChartScale::of({0.0f, 4995.0f}, 600).xTickCount(), 1000);
}

TEST(SedimentChartScale, EveryTickLabelledWhileTheLabelsFit)
{
    // 6 pixels wide from x - 3 to x + 3: 4 pixels to the next one.
    EXPECT_EQ(tickLabelStep({0, 10, 20, 30, 40}, {6, 6, 6, 6, 6}, 4), 1);
    EXPECT_EQ(tickLabelStep({100}, {50}, 4), 1);
    EXPECT_EQ(tickLabelStep({}, {}, 4), 1);
}

TEST(SedimentChartScale, LabelsThatWouldTouchSkipTicks)
{
    // 7 pixels from x - 3 to x + 4: only 3 pixels apart, so every second.
    EXPECT_EQ(tickLabelStep({0, 10, 20, 30, 40}, {7, 7, 7, 7, 7}, 4), 2);
    // One wide label decides: 16 from 12 to 28 against 30 from 25 to 55.
    EXPECT_EQ(tickLabelStep({0, 20, 40, 60}, {8, 16, 30, 8}, 4), 2);
    // Spacings of 9 and 10 pixels as the chart's rounding gives: 6-pixel
    // labels are 3 pixels apart across the 9-pixel step.
    EXPECT_EQ(tickLabelStep({0, 10, 19, 29, 38}, {5, 5, 5, 5, 5}, 4), 1);
    EXPECT_EQ(tickLabelStep({0, 10, 19, 29, 38}, {6, 6, 6, 6, 6}, 4), 2);
    // Every third: ticks 0, 3 and 6 are 15 pixels apart, labels 12 wide.
    EXPECT_EQ(tickLabelStep({0, 5, 10, 15, 20, 25, 30}, std::vector<int>(7, 12), 2), 3);
    // Even the first and the last overlap: only the first is labelled.
    EXPECT_EQ(tickLabelStep({0, 1, 2}, {10, 10, 10}, 4), 3);
}

TEST(SedimentChartScale, TickTexts)
{
    EXPECT_EQ(tickText(5), "5");
    EXPECT_EQ(tickText(12.5), "12.5");
    EXPECT_EQ(tickText(0), "0");
    EXPECT_EQ(tickText(500), "500");
    EXPECT_EQ(tickText(-5), "-5");
    EXPECT_EQ(tickText(0.25), "0.25");
}
