#include "core/assess/ConditionAssessment.h"

#include "core/document/DerivedFrames.h"

#include <cmath>

namespace dorvane {

std::optional<double> ConditionAssessment::gradedValue(const FrameCondition &frame, DefectKind kind)
{
    if (kind == DefectKind::Deposit)
        return frame.sedimentDepthPct;
    if (frame.shape)
        return frame.shape->deformationPct;
    return std::nullopt;
}

namespace {

void addRecords(ConditionAssessment &a, const DefectGrading &grading,
                const std::vector<float> &cable)
{
    std::optional<DefectRecord> open;
    const auto close = [&] {
        if (!open)
            return;
        open->fromM = cable[static_cast<size_t>(open->firstFrame)];
        open->toM = cable[static_cast<size_t>(open->lastFrame)];
        open->lengthM = std::fabs(open->toM - open->fromM);
        a.records.push_back(*open);
        open.reset();
    };
    for (size_t i = 0; i < a.frames.size(); ++i) {
        const auto value = ConditionAssessment::gradedValue(a.frames[i], grading.kind);
        const int grade = value ? grading.grade(*value) : 0;
        if (open && open->grade != grade)
            close();
        if (grade == 0)
            continue;
        const int frame = static_cast<int>(i);
        if (!open) {
            open = DefectRecord{grading.kind, grade, grading.score(grade), frame, frame, 0, 0, 0,
                                *value,       frame};
        }
        open->lastFrame = frame;
        if (*value > open->worstValue) {
            open->worstValue = *value;
            open->worstFrame = frame;
        }
    }
    close();
}

} // namespace

ConditionAssessment assessSurvey(const DerivedFrames &derived, const GradingTable &grades)
{
    ConditionAssessment a;
    const int n = derived.size();
    a.frames.resize(static_cast<size_t>(n));
    const auto &cable = derived.cableLengths();
    for (int i = 0; i < n; ++i) {
        const auto at = static_cast<size_t>(i);
        const auto profiles = derived.radiusProfiles();
        ConditionInputs in;
        in.peakSamples = &derived.peakSamples(i);
        in.radii = &profiles[at];
        in.pipeRadiusMm = derived.pipeRadii()[at];
        in.detectRadiusMm = derived.detectRadii()[at];
        in.cableLength = cable[at];
        in.sedimentPermille = derived.sedimentPermille()[at];
        in.sedimentDepthMm = derived.sedimentDepth()[at];
        a.frames[at] = assessFrame(in);
    }

    SectionSummary &s = a.summary;
    double lossSum = 0;
    for (size_t i = 0; i < a.frames.size(); ++i) {
        const FrameCondition &f = a.frames[i];
        if (!f.assessed)
            continue;
        ++s.assessedFrames;
        lossSum += f.capacityLossPct;
        if (!s.maxCapacityLossPct || f.capacityLossPct > *s.maxCapacityLossPct) {
            s.maxCapacityLossPct = f.capacityLossPct;
            s.maxCapacityLossFrame = static_cast<int>(i);
        }
        if (i == 0 || !a.frames[i - 1].assessed)
            continue;
        const double step = std::fabs(static_cast<double>(cable[i]) - cable[i - 1]);
        s.assessedLengthM += step;
        if (f.sedimentAreaM2 && a.frames[i - 1].sedimentAreaM2)
            s.sedimentVolumeM3 +=
                0.5 * (*a.frames[i - 1].sedimentAreaM2 + *f.sedimentAreaM2) * step;
    }
    if (s.assessedFrames > 0)
        s.meanCapacityLossPct = lossSum / s.assessedFrames;

    for (int k = 0; k < DefectKindCount; ++k)
        addRecords(a, grades.of(static_cast<DefectKind>(k)), cable);
    for (const DefectRecord &r : a.records) {
        const auto k = static_cast<size_t>(r.kind);
        s.worstGrade[k] = std::max(s.worstGrade[k], r.grade);
        s.lengthInGradeM[k][static_cast<size_t>(r.grade - 1)] += r.lengthM;
    }
    return a;
}

} // namespace dorvane
