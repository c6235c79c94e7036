#include "core/assess/GradingTable.h"

#include "core/app/ProgramPaths.h"
#include "core/base/MessageSink.h"
#include "core/base/PosixFile.h"

#include <cerrno>
#include <nlohmann/json.hpp>

namespace dorvane {

namespace {

constexpr uint64_t MaxTableBytes = 1 << 20;

} // namespace

const char *defectKindName(DefectKind kind)
{
    return kind == DefectKind::Deposit ? "deposit" : "deformation";
}

int DefectGrading::grade(double value) const
{
    int g = 0;
    while (g < GradeCount && value >= bounds[static_cast<size_t>(g)])
        ++g;
    return g;
}

double DefectGrading::score(int g) const
{
    return g >= 1 && g <= GradeCount ? scores[static_cast<size_t>(g - 1)] : 0.0;
}

GradingTable GradingTable::standard()
{
    GradingTable table;
    table.m_kinds[0] = {DefectKind::Deposit, "CJ",           "沉积", "Deposit",
                        {20, 30, 40, 50},    {0.5, 2, 5, 10}};
    table.m_kinds[1] = {DefectKind::Deformation, "BX",           "变形",
                        "Deformation",           {3, 5, 15, 25}, {1, 2, 5, 10}};
    return table;
}

GradingTable GradingTable::load(const std::string &path, std::string &problem)
{
    problem.clear();
    const std::string file = path.empty() ? programFolder() + "grades.json" : path;
    if (auto table = read(file, problem))
        return *table;
    return standard();
}

std::optional<GradingTable> GradingTable::read(const std::string &path, std::string &problem)
{
    PosixFile file;
    if (!file.open(path, PosixFile::Mode::Read)) {
        problem = path + ": " + systemErrorText(file.lastError());
        return std::nullopt;
    }
    const auto size = file.size();
    if (!size || *size > MaxTableBytes) {
        problem = path + ": not a grading table (larger than 1 MB)";
        return std::nullopt;
    }
    std::string text(static_cast<size_t>(*size), '\0');
    if (!file.readAt(0, text.data(), text.size())) {
        problem = path + ": " + systemErrorText(file.lastError() ? file.lastError() : EIO);
        return std::nullopt;
    }
    auto table = parse(text, problem);
    if (!table)
        problem = path + ": " + problem;
    return table;
}

std::optional<GradingTable> GradingTable::parse(const std::string &json, std::string &problem)
{
    const nlohmann::json document = nlohmann::json::parse(json, nullptr, false);
    if (document.is_discarded() || !document.is_object() || !document.contains("kinds") ||
        !document["kinds"].is_array()) {
        problem = "not a grading table (a JSON object with a list \"kinds\")";
        return std::nullopt;
    }
    GradingTable table;
    std::array<bool, DefectKindCount> found{};
    for (const nlohmann::json &entry : document["kinds"]) {
        if (!entry.is_object() || !entry.contains("kind") || !entry["kind"].is_string()) {
            problem = "a kind without its name";
            return std::nullopt;
        }
        const std::string name = entry["kind"];
        size_t index = 0;
        while (index < DefectKindCount && name != defectKindName(static_cast<DefectKind>(index)))
            ++index;
        if (index == DefectKindCount) {
            problem = "unknown kind \"" + name.substr(0, 40) + "\"";
            return std::nullopt;
        }
        DefectGrading grading;
        grading.kind = static_cast<DefectKind>(index);
        const auto text = [&](const char *key, std::string &out) {
            if (!entry.contains(key) || !entry[key].is_string())
                return false;
            out = entry[key];
            return true;
        };
        const auto numbers = [&](const char *key, std::array<double, GradeCount> &out) {
            if (!entry.contains(key) || !entry[key].is_array() || entry[key].size() != GradeCount)
                return false;
            for (size_t i = 0; i < GradeCount; ++i) {
                if (!entry[key][i].is_number())
                    return false;
                out[i] = entry[key][i];
            }
            return true;
        };
        if (!text("code", grading.code) || !text("name_zh", grading.nameZh) ||
            !text("name_en", grading.nameEn) || !numbers("bounds", grading.bounds) ||
            !numbers("scores", grading.scores)) {
            problem = name + ": needs code, name_zh, name_en and four bounds and four scores";
            return std::nullopt;
        }
        for (size_t i = 1; i < GradeCount; ++i)
            if (!(grading.bounds[i] > grading.bounds[i - 1])) {
                problem = name + ": the bounds do not rise";
                return std::nullopt;
            }
        table.m_kinds[index] = grading;
        found[index] = true;
    }
    for (size_t i = 0; i < DefectKindCount; ++i)
        if (!found[i]) {
            problem = std::string("no grading for ") + defectKindName(static_cast<DefectKind>(i));
            return std::nullopt;
        }
    return table;
}

} // namespace dorvane
