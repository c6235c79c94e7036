#pragma once

#include <string>

namespace dorvane {

class WordTable;

// Puts text into the cell of a table (rows and columns from 1), in place of
// what it held; false when the cell or its range cannot be had.
bool setCellText(WordTable &table, int row, int column, const std::string &text);

} // namespace dorvane
