#include "core/library/SummaryTable.h"

#include "core/library/ProjectTotals.h"

#include <cstdio>
#include <optional>
#include <string>

namespace dorvane {

namespace {

std::string fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string fixed(const std::optional<double> &value, int decimals)
{
    return value ? fixed(*value, decimals) : std::string();
}

// Control characters (a survey's place may hold them) have no place in a
// table cell and no XML form.
std::vector<std::string> printable(std::vector<std::string> cells)
{
    for (std::string &cell : cells)
        std::erase_if(cell, [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte < 0x20 || byte == 0x7F;
        });
    return cells;
}

std::vector<std::string> surveyRow(const SurveyOutcome &outcome)
{
    if (!outcome.figures)
        return {outcome.file, "", "", "", "", "", "", "", "", "", "", "", "", outcome.error};
    const SurveyFigures &f = *outcome.figures;
    return {outcome.file,
            f.place,
            f.startWell + "-" + f.endWell,
            std::to_string(f.frameCount),
            fixed(f.surveyedLengthM, 2),
            fixed(f.averageSedimentPermille / 10.0, 1),
            fixed(f.maxSedimentDepthPct, 1),
            std::to_string(f.worstDepositGrade),
            std::to_string(f.worstDeformationGrade),
            fixed(f.sedimentVolumeM3, 3),
            fixed(f.meanCapacityLossPct, 1),
            fixed(f.maxCapacityLossPct, 1),
            outcome.report,
            outcome.error};
}

std::vector<std::string> totalsRow(const ProjectTotals &t, bool english)
{
    std::string grades = english ? "sections per worst grade 0-4: " : "按最严重等级 0-4 的管段数：";
    for (size_t grade = 0; grade < t.sectionsPerWorstGrade.size(); ++grade)
        grades += (grade ? " " : "") + std::to_string(t.sectionsPerWorstGrade[grade]);
    return {english ? "total" : "合计",
            "",
            "",
            std::to_string(t.frameCount),
            fixed(t.surveyedLengthM, 2),
            "",
            "",
            "",
            "",
            fixed(t.sedimentVolumeM3, 3),
            "",
            "",
            grades,
            ""};
}

} // namespace

SummaryTable summaryTable(const std::vector<SurveyOutcome> &outcomes, bool english)
{
    SummaryTable table;
    if (english)
        table.headings = {"file",
                          "place",
                          "wells",
                          "frames",
                          "surveyed_length_m",
                          "average_sediment_pct",
                          "max_sediment_depth_pct",
                          "worst_deposit_grade",
                          "worst_deformation_grade",
                          "sediment_volume_m3",
                          "mean_capacity_loss_pct",
                          "max_capacity_loss_pct",
                          "report",
                          "error"};
    else
        table.headings = {"文件",
                          "地点",
                          "井号",
                          "帧数",
                          "检测长度 (m)",
                          "平均淤积 (%)",
                          "最大淤积深度 (%)",
                          "最严重沉积等级",
                          "最严重变形等级",
                          "淤积体积 (m³)",
                          "平均过流损失 (%)",
                          "最大过流损失 (%)",
                          "报告",
                          "错误"};
    for (const SurveyOutcome &outcome : outcomes)
        table.rows.push_back(printable(surveyRow(outcome)));
    table.rows.push_back(totalsRow(projectTotals(outcomes), english));
    return table;
}

} // namespace dorvane
