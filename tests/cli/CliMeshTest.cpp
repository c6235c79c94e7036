#include "CliRunner.h"
#include "core/document/AnimationDocument.h"
#include "core/view3d/PipeMesh.h"

#include <regex>
#include <sstream>
#include <string>
#include <vector>

using namespace dorvane;
using namespace dorvane::test;

namespace {

class CliMesh : public Cli
{
protected:
    // A simulated survey of frames frames. With an error rate of 65535 % the
    // band around the pipe radius takes in every percentage 16 bits can
    // hold, so every vertex is built: a simulated wall is never on the axis.
    std::string survey(int frames, int seed, int errorRate = -1)
    {
        const std::string path = dir.file("s" + std::to_string(seed) + ".Imv");
        const std::string count = std::to_string(frames), seedText = std::to_string(seed);
        EXPECT_EQ(run({"simulate", "-o", path, "--frames", count, "--seed", seedText}).status, 0);
        if (errorRate >= 0) {
            const std::string value = std::to_string(errorRate);
            EXPECT_EQ(run({"apply", path, "--kind", "2", "--value", value}).status, 0);
        }
        return path;
    }
};

struct ListedRun
{
    int start;
    int triangles;
};

// The runs of a line "b: s,t s,t ...", after checking its form.
std::vector<ListedRun> parseBand(const std::string &line, int &band)
{
    static const std::regex form("(0|[1-9][0-9]*):( (0|[1-9][0-9]*),(0|[1-9][0-9]*))+");
    EXPECT_TRUE(std::regex_match(line, form)) << line;
    std::istringstream in(line);
    char colon = 0, comma = 0;
    in >> band >> colon;
    std::vector<ListedRun> runs;
    for (ListedRun run{}; in >> run.start >> comma >> run.triangles;)
        runs.push_back(run);
    return runs;
}

} // namespace

TEST_F(CliMesh, EveryBandWithStripsThenTheBuiltVertices)
{
    // Seed 2 lays sediment along the bottom, far inside the 10 % band: the
    // bands' strips break there.
    const std::string path = survey(40, 2);
    const CliRun r = run({"mesh", path});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto out = lines(r.out);
    ASSERT_GE(out.size(), 2u);
    int previousBand = -1, broken = 0;
    for (size_t i = 0; i + 1 < out.size(); ++i) {
        int band = -1;
        const auto runs = parseBand(out[i], band);
        EXPECT_GT(band, previousBand) << out[i];
        EXPECT_LE(band, 38) << out[i];
        previousBand = band;
        broken += runs.size() > 1;
        // Even starts and triangle counts within the ring's 402 indices, each
        // run at least one quad, and a missing column between runs.
        int end = -4;
        for (const ListedRun &run : runs) {
            EXPECT_EQ(run.start % 2, 0) << out[i];
            EXPECT_EQ(run.triangles % 2, 0) << out[i];
            EXPECT_GE(run.triangles, 2) << out[i];
            EXPECT_GE(run.start, end + 4) << out[i];
            end = run.start + run.triangles;
            EXPECT_LE(end, 400) << out[i];
        }
    }
    EXPECT_GT(broken, 0);

    // The same profiles the window takes make the same model.
    SilentMessageSink silent;
    AnimationDocument doc(silent);
    ASSERT_TRUE(doc.open(path, nullptr));
    PipeMesh mesh;
    ASSERT_TRUE(mesh.build(doc.derived().radiusProfiles()));
    EXPECT_EQ(out.back(), std::to_string(mesh.builtVertexCount()));
    size_t line = 0;
    for (int b = 0; b < mesh.bandCount(); ++b) {
        if (mesh.runs(b).empty())
            continue;
        ASSERT_LT(line + 1, out.size()) << b;
        int band = -1;
        const auto runs = parseBand(out[line++], band);
        EXPECT_EQ(band, b);
        ASSERT_EQ(runs.size(), mesh.runs(b).size()) << b;
        for (size_t k = 0; k < runs.size(); ++k) {
            EXPECT_EQ(runs[k].start, mesh.runs(b)[k].start) << b;
            EXPECT_EQ(runs[k].triangles, mesh.runs(b)[k].triangles) << b;
        }
    }
    EXPECT_EQ(line + 1, out.size());
}

TEST_F(CliMesh, AtTheWidestErrorRateEveryBandIsOneStrip)
{
    // 12 rings of 201 vertices; every band one strip of 400 triangles from
    // index 0.
    const CliRun r = run({"mesh", survey(12, 2, 65535)});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string expected;
    for (int b = 0; b < 11; ++b)
        expected += std::to_string(b) + ": 0,400\n";
    EXPECT_EQ(r.out, expected + "2412\n");
}

TEST_F(CliMesh, AOneFrameSurveyHasOnlyTheCount)
{
    CliRun r = run({"mesh", survey(1, 2, 65535)});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "201\n");
    // At the simulator's own error rate the count alone is still all there is.
    r = run({"mesh", survey(1, 3)});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::regex_match(r.out, std::regex("(0|[1-9][0-9]*)\n"))) << r.out;
}

TEST_F(CliMesh, ASurveyWithoutPipeRadiusHasNoModel)
{
    // A pipe radius of 0 mm is 0 pixels: no ring has a percentage to build.
    const std::string path = survey(20, 2);
    ASSERT_EQ(run({"apply", path, "--kind", "1", "--value", "0"}).status, 0);
    const CliRun r = run({"mesh", path});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0\n");
}

TEST_F(CliMesh, BadUsageAndMissingSurveys)
{
    EXPECT_EQ(run({"mesh"}).status, 2);
    EXPECT_EQ(run({"mesh", "a.Imv", "b.Imv"}).status, 2);
    EXPECT_EQ(run({"mesh", "a.Imv", "--frame", "2"}).status, 2);
    const CliRun r = run({"mesh", dir.file("missing.Imv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err, "");
}
