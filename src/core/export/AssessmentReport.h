#pragma once

#include "core/assess/ConditionAssessment.h"
#include "core/export/ReportContent.h"

namespace dorvane {

// The report's section on the pipe's condition: the summary's values and one
// row per defect record, with the kind names of the report's language. The
// chart is drawn elsewhere.
ReportContent::Assessment assessmentReport(const ConditionAssessment &assessment,
                                           const GradingTable &grades, bool english);

} // namespace dorvane
