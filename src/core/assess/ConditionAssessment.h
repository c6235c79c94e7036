#pragma once

#include "core/assess/FrameCondition.h"
#include "core/assess/GradingTable.h"

#include <array>
#include <optional>
#include <vector>

namespace dorvane {

class DerivedFrames;

// A run of consecutive frames with one defect of one grade (1 to 4).
struct DefectRecord
{
    DefectKind kind = DefectKind::Deposit;
    int grade = 0;
    double score = 0;
    int firstFrame = 0;
    int lastFrame = 0;
    double fromM = 0;
    double toM = 0;
    double lengthM = 0; // |to - from|
    double worstValue = 0;
    int worstFrame = 0;
};

// The whole section between the two wells.
struct SectionSummary
{
    double assessedLengthM = 0; // over consecutive frames that are both assessed
    double sedimentVolumeM3 = 0;
    int assessedFrames = 0;
    std::optional<double> meanCapacityLossPct;
    std::optional<double> maxCapacityLossPct;
    int maxCapacityLossFrame = -1;
    // Per kind: the worst grade (0 for none), and the length of the records
    // of each grade 1 to 4.
    std::array<int, DefectKindCount> worstGrade{};
    std::array<std::array<double, GradeCount>, DefectKindCount> lengthInGradeM{};
};

// The condition of every frame, the graded defects along the pipe and the
// section's summary, all worked out again from the derived values whenever
// they change: nothing of it is stored in the survey.
struct ConditionAssessment
{
    std::vector<FrameCondition> frames;
    std::vector<DefectRecord> records; // by kind, then along the frames
    SectionSummary summary;

    // The figure a kind is graded by, when the frame has it.
    static std::optional<double> gradedValue(const FrameCondition &frame, DefectKind kind);
};

ConditionAssessment assessSurvey(const DerivedFrames &derived, const GradingTable &grades);

} // namespace dorvane
