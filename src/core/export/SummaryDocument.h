#pragma once

#include "core/export/WordReport.h"

#include <string>

namespace dorvane {

class WordApplication;
struct SummaryTable;

// The project summary's template beside the program, "summary.templ": a
// title paragraph (bookmark "txtTitle") and a table (bookmark "tblSummary")
// of a heading row and one empty row, as wide as the summary's columns.
std::string summaryTemplatePath();

// Fills a new document based on the template with the title and the table
// (its headings in the first row, a row for each of its rows below) and
// saves it as outputPath. application is null when the word processor
// could not be started.
WordReportResult writeSummaryDocument(WordApplication *application, const std::string &templatePath,
                                      const std::string &outputPath, const std::string &title,
                                      const SummaryTable &table);

} // namespace dorvane
