#include "cli/FigureText.h"

#include <cstdio>

namespace dorvane::cli {

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

std::string number(const std::optional<double> &value)
{
    return value ? number(*value) : std::string();
}

nlohmann::ordered_json jsonNumber(const std::optional<double> &value)
{
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

std::optional<GradingTable> chosenGradingTable(const std::string &path)
{
    std::string problem;
    if (!path.empty()) {
        auto chosen = GradingTable::read(path, problem);
        if (!chosen)
            std::fprintf(stderr, "tessiq-cli: grading table refused: %s\n", problem.c_str());
        return chosen;
    }
    GradingTable grades = GradingTable::load({}, problem);
    if (!problem.empty())
        std::fprintf(stderr, "tessiq-cli: built-in grading table used: %s\n", problem.c_str());
    return grades;
}

} // namespace dorvane::cli
