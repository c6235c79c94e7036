#include "core/library/ProjectTotals.h"

#include <algorithm>

namespace dorvane {

ProjectTotals projectTotals(const std::vector<SurveyOutcome> &outcomes)
{
    ProjectTotals totals;
    for (const SurveyOutcome &outcome : outcomes) {
        if (!outcome.figures)
            continue;
        const SurveyFigures &f = *outcome.figures;
        totals.frameCount += f.frameCount;
        totals.surveyedLengthM += f.surveyedLengthM;
        totals.sedimentVolumeM3 += f.sedimentVolumeM3;
        const int grade = std::clamp(f.worstGrade(), 0, 4);
        ++totals.sectionsPerWorstGrade[static_cast<size_t>(grade)];
    }
    return totals;
}

} // namespace dorvane
