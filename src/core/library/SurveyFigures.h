#pragma once

#include "core/assess/GradingTable.h"

#include <optional>
#include <string>

namespace dorvane {

class AnimationDocument;

// The key figures of one survey, as the survey library lists them and the
// project summary adds them up. Texts are UTF-8.
struct SurveyFigures
{
    std::string place;
    std::string startWell;
    std::string endWell;
    int frameCount = 0;
    double firstCableM = 0;
    double lastCableM = 0;
    double surveyedLengthM = 0; // |last - first|, as the report's total length
    int averageSedimentPermille = 0;
    // The largest sediment depth share of an assessed frame (%).
    std::optional<double> maxSedimentDepthPct;
    int worstDepositGrade = 0;
    int worstDeformationGrade = 0;
    double sedimentVolumeM3 = 0;
    std::optional<double> meanCapacityLossPct;
    std::optional<double> maxCapacityLossPct;

    // The worse of the two worst grades.
    int worstGrade() const { return std::max(worstDepositGrade, worstDeformationGrade); }
};

// The figures of an open survey, its assessment graded by the table.
SurveyFigures surveyFigures(const AnimationDocument &document, const GradingTable &grades);

// Opens the survey (an animation file, or a probe image as one frame) for
// reading and works out its figures; empty, with error saying why in the
// program's language, when it cannot be read. Safe on any thread: nothing
// is shared between two calls.
std::optional<SurveyFigures> readSurveyFigures(const std::string &path, const GradingTable &grades,
                                               std::string &error);

} // namespace dorvane
