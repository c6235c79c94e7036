#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace dorvane {

// The defects the assessment grades, each by one figure of a frame.
enum class DefectKind
{
    Deposit,     // by the sediment depth share
    Deformation, // by the deformation
};
constexpr int DefectKindCount = 2;
// The kind's name in grading tables and in the batch tool's output.
const char *defectKindName(DefectKind kind);
constexpr int GradeCount = 4;

// How the inspection standard in force grades one kind of defect.
struct DefectGrading
{
    DefectKind kind = DefectKind::Deposit;
    std::string code;
    std::string nameZh;
    std::string nameEn;
    // The lowest value of grades 1 to 4, rising; % of the figure.
    std::array<double, GradeCount> bounds{};
    std::array<double, GradeCount> scores{};

    // 0 below the first bound; a value on a bound takes the higher grade.
    int grade(double value) const;
    // The score of grades 1 to 4; 0 for grade 0.
    double score(int grade) const;
};

// One grading for each defect kind, read from a JSON file:
//   {"kinds": [{"kind": "deposit", "code": "CJ", "name_zh": "沉积",
//               "name_en": "Deposit", "bounds": [20, 30, 40, 50],
//               "scores": [0.5, 2, 5, 10]}, ...]}
class GradingTable
{
public:
    // The drainage-pipe grading built in (the one the program folder's
    // grades.json holds).
    static GradingTable standard();
    // The table in the file; empty, with problem saying why, when it cannot
    // be read, lacks a kind or has bounds that do not rise.
    static std::optional<GradingTable> read(const std::string &path, std::string &problem);
    static std::optional<GradingTable> parse(const std::string &json, std::string &problem);
    // The table chosen (path), else the program folder's grades.json, else
    // the built-in one; problem tells why a file was refused.
    static GradingTable load(const std::string &path, std::string &problem);

    const DefectGrading &of(DefectKind kind) const { return m_kinds[static_cast<size_t>(kind)]; }

private:
    std::array<DefectGrading, DefectKindCount> m_kinds;
};

} // namespace dorvane
