#include "core/assess/ConditionAssessment.h"

#include "core/document/DerivedFrames.h"

#include <gtest/gtest.h>

using namespace dorvane;

namespace {

// A frame of a 500 mm pipe seen with a 1000 mm detection radius: 4 mm a
// pixel, every beam's wall 125 pixels (500 mm) from the centre.
struct RoundFrame
{
    std::array<uint8_t, BeamCount> peaks;
    RadiusProfile radii{};
    ConditionInputs inputs;

    RoundFrame()
    {
        peaks.fill(100);
        for (int b = 0; b < BeamCount; ++b)
            radii[b] = 125;
        inputs.peakSamples = &peaks;
        inputs.radii = &radii;
        inputs.pipeRadiusMm = 500;
        inputs.detectRadiusMm = 1000;
        inputs.cableLength = 3.0f;
    }
};

// Frames of that pipe 1 m apart, each with the given sediment depth (mm) and
// per mille.
DerivedFrames surveyOf(const std::vector<std::pair<int, int>> &depthAndPermille)
{
    DerivedFrames derived;
    derived.resize(static_cast<int>(depthAndPermille.size()));
    for (size_t i = 0; i < depthAndPermille.size(); ++i) {
        FrameHeader header;
        header.pipeRadius = 500;
        header.detectRadius = 1000;
        header.cableLength = static_cast<float>(i);
        FrameAnalysis analysis;
        analysis.peakSamples.fill(100);
        for (int b = 0; b < BeamCount; ++b)
            analysis.radii[b] = 125;
        analysis.sedimentDepth = depthAndPermille[i].first;
        analysis.sedimentPermille = depthAndPermille[i].second;
        derived.store(static_cast<int>(i), header, analysis);
    }
    return derived;
}

} // namespace

TEST(FrameCondition, ARoundPipeAtItsNominalRadiusHasLostNothing)
{
    const RoundFrame f;
    const FrameCondition c = assessFrame(f.inputs);
    ASSERT_TRUE(c.assessed);
    EXPECT_NEAR(c.capacityLossPct, 0.0, 1e-9);
    EXPECT_NEAR(*c.sedimentDepthPct, 0.0, 1e-9);
    ASSERT_TRUE(c.shape);
    EXPECT_DOUBLE_EQ(c.shape->minDiameter, 1000.0);
    EXPECT_DOUBLE_EQ(c.shape->maxDiameter, 1000.0);
    EXPECT_DOUBLE_EQ(c.shape->ovalityPct, 0.0);
    EXPECT_DOUBLE_EQ(c.shape->deformationPct, 0.0);
}

TEST(FrameCondition, APipeSqueezedAtCrownAndInvertIsOvalAndDeformed)
{
    RoundFrame f;
    // 480 mm up and down, 520 mm left and right: diameters 960 at 0 degrees
    // and 1040 at 90, the other 198 of 1000; their mean 1000.
    f.radii[0] = f.radii[200] = 120;
    f.radii[100] = f.radii[300] = 130;
    const FrameCondition c = assessFrame(f.inputs);
    ASSERT_TRUE(c.shape);
    EXPECT_DOUBLE_EQ(c.shape->minDiameter, 960.0);
    EXPECT_DOUBLE_EQ(c.shape->minAngle, 0.0);
    EXPECT_DOUBLE_EQ(c.shape->maxDiameter, 1040.0);
    EXPECT_DOUBLE_EQ(c.shape->maxAngle, 90.0);
    EXPECT_DOUBLE_EQ(c.shape->meanDiameter, 1000.0);
    EXPECT_DOUBLE_EQ(c.shape->ovalityPct, 4.0);
    EXPECT_DOUBLE_EQ(c.shape->deformationPct, 4.0);
    // Sum of squares 100,501,600 mm^2 over 400 beams: more than the
    // nominal 250,000 per beam, so nothing is lost.
    EXPECT_DOUBLE_EQ(c.capacityLossPct, 0.0);
}

TEST(FrameCondition, DiametersEndingInTheSedimentAreLeftOut)
{
    RoundFrame f;
    // 100 mm of flat sediment: straight down the probe sees its surface at
    // 400 mm. Every beam within 36.87 degrees of down reaches below it.
    f.radii[200] = 100;
    f.inputs.sedimentDepthMm = 100;
    f.inputs.sedimentPermille = 52;
    const FrameCondition c = assessFrame(f.inputs);
    ASSERT_TRUE(c.shape);
    EXPECT_DOUBLE_EQ(c.shape->minDiameter, 1000.0); // 900 at beam 0 is left out
    EXPECT_DOUBLE_EQ(c.shape->deformationPct, 0.0);
    EXPECT_DOUBLE_EQ(*c.sedimentDepthPct, 10.0);
    EXPECT_NEAR(*c.sedimentAreaM2, 0.052 * 0.785398163, 1e-9);
    // 399 walls of 500 mm and one of 400: 225 of 250,000 mm^2 a beam lost.
    EXPECT_NEAR(c.capacityLossPct, 0.09, 1e-9);

    // Excluded by the operator: no sediment figures, the shape stays.
    f.inputs.sedimentPermille = -1;
    f.inputs.sedimentDepthMm = -1;
    const FrameCondition excluded = assessFrame(f.inputs);
    EXPECT_FALSE(excluded.sedimentDepthPct);
    EXPECT_FALSE(excluded.sedimentAreaM2);
    ASSERT_TRUE(excluded.shape);
    EXPECT_DOUBLE_EQ(excluded.shape->minDiameter, 900.0);
}

TEST(FrameCondition, BeamsWithoutAnEchoAreInterpolatedAndTooFewEchoesAssessNothing)
{
    RoundFrame f;
    // 480 mm at beam 9, 524 mm at beam 20, no echo between: 484, 488, ...
    // 520 mm; with 500 mm opposite, diameters 984 to 1020.
    f.radii[9] = 120;
    f.radii[20] = 131;
    for (int b = 10; b < 20; ++b) {
        f.peaks[b] = 0;
        f.radii[b] = 0;
    }
    const FrameCondition c = assessFrame(f.inputs);
    ASSERT_TRUE(c.shape);
    EXPECT_DOUBLE_EQ(c.shape->minDiameter, 980.0);
    EXPECT_DOUBLE_EQ(c.shape->maxDiameter, 1024.0);
    EXPECT_NEAR(c.shape->meanDiameter, 200024.0 / 200.0, 1e-9);

    for (int b = 100; b < 131; ++b)
        f.peaks[b] = 0; // 41 beams without an echo: 359 left
    EXPECT_FALSE(assessFrame(f.inputs).assessed);
    f.peaks[130] = 100;
    EXPECT_TRUE(assessFrame(f.inputs).assessed);

    RoundFrame noScale;
    noScale.inputs.detectRadiusMm = 0;
    EXPECT_FALSE(assessFrame(noScale.inputs).assessed);
    RoundFrame noLength;
    noLength.inputs.cableLength = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(assessFrame(noLength.inputs).assessed);
}

TEST(ConditionAssessment, RunsOfOneGradeBecomeRecordsAlongThePipe)
{
    // Depth shares 0, 20, 25, 30, 35, 39.9 and 0 % of the 1000 mm pipe:
    // grades 0, 1, 1, 2, 2, 2, 0 (20 % is on the first bound).
    const DerivedFrames derived =
        surveyOf({{0, 0}, {200, 150}, {250, 200}, {300, 250}, {350, 300}, {399, 350}, {0, 0}});
    const ConditionAssessment a = assessSurvey(derived, GradingTable::standard());
    ASSERT_EQ(a.records.size(), 2u);
    const DefectRecord &first = a.records[0];
    EXPECT_EQ(first.kind, DefectKind::Deposit);
    EXPECT_EQ(first.grade, 1);
    EXPECT_DOUBLE_EQ(first.score, 0.5);
    EXPECT_EQ(first.firstFrame, 1);
    EXPECT_EQ(first.lastFrame, 2);
    EXPECT_DOUBLE_EQ(first.lengthM, 1.0);
    const DefectRecord &second = a.records[1];
    EXPECT_EQ(second.grade, 2);
    EXPECT_EQ(second.firstFrame, 3);
    EXPECT_EQ(second.lastFrame, 5);
    EXPECT_DOUBLE_EQ(second.fromM, 3.0);
    EXPECT_DOUBLE_EQ(second.toM, 5.0);
    EXPECT_DOUBLE_EQ(second.lengthM, 2.0);
    EXPECT_NEAR(second.worstValue, 39.9, 1e-9);
    EXPECT_EQ(second.worstFrame, 5);

    const SectionSummary &s = a.summary;
    EXPECT_EQ(s.worstGrade[0], 2);
    EXPECT_EQ(s.worstGrade[1], 0);
    EXPECT_DOUBLE_EQ(s.lengthInGradeM[0][0], 1.0);
    EXPECT_DOUBLE_EQ(s.lengthInGradeM[0][1], 2.0);
    EXPECT_DOUBLE_EQ(s.assessedLengthM, 6.0);
}

TEST(ConditionAssessment, AConstantSedimentOverTenMetres)
{
    // 100 per mille of pi * 0.25 m^2 over 10 m: 0.785398 m^3.
    const DerivedFrames derived = surveyOf(std::vector<std::pair<int, int>>(11, {50, 100}));
    const ConditionAssessment a = assessSurvey(derived, GradingTable::standard());
    EXPECT_NEAR(a.summary.sedimentVolumeM3, 0.785398163, 1e-8);
    EXPECT_DOUBLE_EQ(a.summary.assessedLengthM, 10.0);
    EXPECT_EQ(a.summary.assessedFrames, 11);
    EXPECT_NEAR(*a.summary.meanCapacityLossPct, 0.0, 1e-9);
}

TEST(GradingTable, BadTablesAreRefusedWithTheirReason)
{
    std::string problem;
    EXPECT_FALSE(GradingTable::parse("not json", problem));
    EXPECT_EQ(problem, "not a grading table (a JSON object with a list \"kinds\")");
    const std::string deformation =
        R"({"kind": "deformation", "code": "BX", "name_zh": "变形", "name_en": "Deformation",
            "bounds": [3, 5, 15, 25], "scores": [1, 2, 5, 10]})";
    EXPECT_FALSE(GradingTable::parse(R"({"kinds": [)" + deformation + "]}", problem));
    EXPECT_EQ(problem, "no grading for deposit");
    const std::string falling =
        R"({"kind": "deposit", "code": "CJ", "name_zh": "沉积", "name_en": "Deposit",
            "bounds": [20, 30, 30, 50], "scores": [0.5, 2, 5, 10]})";
    EXPECT_FALSE(
        GradingTable::parse(R"({"kinds": [)" + falling + "," + deformation + "]}", problem));
    EXPECT_EQ(problem, "deposit: the bounds do not rise");

    const auto table = GradingTable::read(DORVANE_RESOURCES_DIR "/grades.json", problem);
    ASSERT_TRUE(table) << problem;
    EXPECT_EQ(table->of(DefectKind::Deformation).code, "BX");
    EXPECT_EQ(table->of(DefectKind::Deformation).grade(2.99), 0);
    EXPECT_EQ(table->of(DefectKind::Deformation).grade(25), 4);
    EXPECT_EQ(table->of(DefectKind::Deposit).nameZh, "沉积");
}
