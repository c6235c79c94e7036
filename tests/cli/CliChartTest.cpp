#include "CliRunner.h"
#include "core/base/ByteOrder.h"
#include "core/display/DeviationMap.h"
#include "core/display/DibBlock.h"
#include "core/display/SedimentChartScale.h"
#include "core/document/AnimationDocument.h"

using namespace dorvane;
using namespace dorvane::test;

namespace {
class CliChart : public Cli
{
protected:
    void SetUp() override
    {
        path = dir.file("s.Imv");
        ASSERT_EQ(run({"simulate", "-o", path, "--frames", "60", "--seed", "8"}).status, 0);
        ASSERT_TRUE(doc.open(path, nullptr));
    }

    std::string path;
    SilentMessageSink silent;
    AnimationDocument doc{silent};
};
} // namespace

TEST_F(CliChart, DeviationMapIsTheSmoothedMapBottomUp)
{
    const std::string bmp = dir.file("map.bmp");
    const CliRun r = run({"deviation-map", path, "-o", bmp});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto file = readFileBytes(bmp);
    const DibBlock block = DeviationMap(doc.derived().radiusProfiles()).mapBlock();
    ASSERT_EQ(file.size(), 14 + block.size());
    EXPECT_EQ(le::readI32(&file[18]), 400);
    EXPECT_EQ(le::readI32(&file[22]), 60);
    EXPECT_EQ(le::readU32(&file[10]), 54u);
    EXPECT_TRUE(std::equal(file.begin() + 14, file.end(), block.bytes().begin()));
}

TEST_F(CliChart, ChartPictureOfTheRequestedSize)
{
    const std::string bmp = dir.file("chart.bmp");
    CliRun r = run({"chart", path, "-o", bmp});
    ASSERT_EQ(r.status, 0) << r.err;
    auto file = readFileBytes(bmp);
    EXPECT_EQ(le::readI32(&file[18]), 450);
    EXPECT_EQ(le::readI32(&file[22]), 300);
    EXPECT_EQ(file[54], 255); // white background in the bottom-left corner
    r = run({"chart", path, "-o", bmp, "--size", "640x480"});
    ASSERT_EQ(r.status, 0) << r.err;
    file = readFileBytes(bmp);
    EXPECT_EQ(le::readI32(&file[18]), 640);
    EXPECT_EQ(run({"chart", path, "-o", bmp, "--size", "640"}).status, 2);
}

TEST_F(CliChart, InfoCarriesTheChartScales)
{
    const CliRun r = run({"info", path});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 9u);
    const auto &cable = doc.derived().cableLengths();
    const SedimentChartScale scale = SedimentChartScale::of(cable, 600);
    char expected[64];
    std::snprintf(expected, sizeof expected, "chart_x_range_m: %g %g", scale.xmin, scale.xmax);
    EXPECT_EQ(rows[6], expected);
    EXPECT_EQ(rows[7], "chart_y_max_mm: 1200");
    EXPECT_EQ(rows[8], "chart_average_depth_mm: " + std::to_string(scale.averageDepth(
                                                        cable, doc.derived().sedimentDepth())));
}

TEST_F(CliChart, RenderStrokeDrawsTheStrokeView)
{
    const std::string bmp = dir.file("stroke.bmp");
    const CliRun r = run({"render", path, "--frame", "3", "--stroke", "-o", bmp});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto file = readFileBytes(bmp);
    ASSERT_EQ(file.size(), 14u + 40u + 500u * 1500u);
    // A corner away from the texts shows the grey background or the grid.
    const uint8_t *p = &file[54 + 250 * 1500 + 3 * 3];
    EXPECT_EQ(p[0], 170);
    EXPECT_EQ(run({"render", path, "--stroke", "--overlay", "-o", bmp}).status, 2);
}
