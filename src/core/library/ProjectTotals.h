#pragma once

#include "core/library/SurveyOutcome.h"

#include <array>
#include <vector>

namespace dorvane {

// The figures of a project's surveys added up, over the surveys that could
// be read.
struct ProjectTotals
{
    int frameCount = 0;
    double surveyedLengthM = 0;
    double sedimentVolumeM3 = 0;
    // Sections by the worse of their worst deposit and deformation grades.
    std::array<int, 5> sectionsPerWorstGrade{};
};

ProjectTotals projectTotals(const std::vector<SurveyOutcome> &outcomes);

} // namespace dorvane
