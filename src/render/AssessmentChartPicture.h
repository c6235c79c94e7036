#pragma once

#include "core/assess/ConditionAssessment.h"

#include <QImage>
#include <QSize>
#include <vector>

namespace dorvane {

// The assessment along the pipe against cable length, laid out by
// AssessmentChartLayout: capacity loss and deposit depth share in the upper
// lane over the deposit grades, deformation in the lower lane over the
// deformation grades, each grade's band shaded up from its bound line, and
// the current frame (-1: none) marked by a vertical line. The frames are
// gathered per pixel column, the lowest and highest value of each, so the
// drawing costs the same for any length of survey. Texts in English or in
// the built-in language.
QImage drawAssessmentChart(const ConditionAssessment &assessment,
                           const std::vector<float> &cableLengths, const GradingTable &grades,
                           QSize size, int currentFrame, bool english);

} // namespace dorvane
