#pragma once

#include "core/library/SurveyOutcome.h"

#include <string>
#include <vector>

namespace dorvane {

// The project summary as text cells: a row per survey and the totals row
// last, numbers with fixed decimals. The CSV file and the document show the
// same cells.
struct SummaryTable
{
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> rows;
};

// Headings and the totals' texts in English (the CSV file's, for programs
// reading it) or in Chinese.
SummaryTable summaryTable(const std::vector<SurveyOutcome> &outcomes, bool english);

} // namespace dorvane
