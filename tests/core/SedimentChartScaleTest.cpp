#include "core/display/SedimentChartScale.h"

#include <gtest/gtest.h>

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

TEST(SedimentChartScale, TickTexts)
{
    EXPECT_EQ(tickText(5), "5");
    EXPECT_EQ(tickText(12.5), "12.5");
    EXPECT_EQ(tickText(0), "0");
    EXPECT_EQ(tickText(500), "500");
    EXPECT_EQ(tickText(-5), "-5");
    EXPECT_EQ(tickText(0.25), "0.25");
}
