#pragma once

#include "core/assess/GradingTable.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace dorvane::cli {

// Nine significant digits, enough for every figure the commands work out.
std::string number(double value);
// An absent figure is an empty field.
std::string number(const std::optional<double> &value);
// An absent figure is null.
nlohmann::ordered_json jsonNumber(const std::optional<double> &value);

// The grading table of --grades (empty: grades.json beside the program, or
// the built-in one, which is said on stderr); nothing, told, when the chosen
// file is refused.
std::optional<GradingTable> chosenGradingTable(const std::string &path);

} // namespace dorvane::cli
