#pragma once

#include <string>

namespace dorvane {

struct SummaryTable;

// One CSV field as RFC 4180 has it: quoted, its quotes doubled, when it
// holds a comma, a quote or a line break.
std::string csvField(const std::string &text);

// The summary as CSV (RFC 4180: CRLF line ends, a field with a comma, quote
// or line break quoted, its quotes doubled), UTF-8, headings first.
std::string summaryCsv(const SummaryTable &table);

// Writes the CSV text to path whole or not at all; false with systemError
// the errno value when it cannot.
bool writeSummaryCsv(const std::string &path, const SummaryTable &table, int &systemError);

} // namespace dorvane
