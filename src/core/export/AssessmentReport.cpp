#include "core/export/AssessmentReport.h"

#include "core/app/TextIds.h"
#include "core/app/TextService.h"

#include <cstdio>

namespace dorvane {

namespace {

std::string format(const char *pattern, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string atFrame(const char *pattern, double value, int frame)
{
    return format(pattern, value) + " (#" + std::to_string(frame) + ")";
}

} // namespace

ReportContent::Assessment assessmentReport(const ConditionAssessment &a, const GradingTable &grades,
                                           bool english)
{
    ReportContent::Assessment report;
    const SectionSummary &s = a.summary;
    report.summary[0] = format("%.2f m", s.assessedLengthM);
    report.summary[1] = format("%.3f m³", s.sedimentVolumeM3);
    report.summary[2] = s.meanCapacityLossPct ? format("%.2f %%", *s.meanCapacityLossPct) : "-";
    report.summary[3] = s.maxCapacityLossPct
                            ? atFrame("%.2f %%", *s.maxCapacityLossPct, s.maxCapacityLossFrame)
                            : "-";
    report.summary[4] = std::to_string(s.worstGrade[static_cast<size_t>(DefectKind::Deposit)]);
    report.summary[5] = std::to_string(s.worstGrade[static_cast<size_t>(DefectKind::Deformation)]);
    for (const DefectRecord &r : a.records) {
        const DefectGrading &grading = grades.of(r.kind);
        report.records.push_back(
            {grading.code, english ? grading.nameEn : grading.nameZh, std::to_string(r.grade),
             format("%g", r.score), format("%.2f", r.fromM), format("%.2f", r.toM),
             format("%.2f", r.lengthM), atFrame("%.1f %%", r.worstValue, r.worstFrame)});
    }
    report.noRecords = loadText(text::NoGradedDefects);
    return report;
}

} // namespace dorvane
