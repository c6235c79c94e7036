#pragma once

#include "core/library/SurveyOutcome.h"

#include <string>
#include <vector>

namespace dorvane::cli {

constexpr const char *SummaryCsvName = "project-summary.csv";
constexpr const char *SummaryDocumentName = "project-summary.docx";

// Writes the project summary into the folder, each file whole or not at
// all: the CSV file (English headings, for programs) and the document, in
// the program's language. False, with error saying why, when either cannot
// be written.
bool writeProjectSummary(const std::string &folder, const std::vector<SurveyOutcome> &outcomes,
                         bool english, std::string &error);

} // namespace dorvane::cli
