#pragma once

#include "core/library/SurveyOutcome.h"

#include <memory>
#include <string>
#include <vector>

namespace dorvane {
class ExportFolder;
}

namespace dorvane::cli {

class CancelSignals;
class FigureReader;
class ReportChild;
class ReportNames;

struct BatchReportOptions
{
    std::vector<std::string> inputs;
    std::string outputFolder;
    int jobs = 0; // 0: one per core
    std::string format = "docx";
    std::string grades;
    std::string surveyDate;
    std::string company;
};

// The reports of many surveys, each written by a child process of the tool
// as the report command writes it, several at once, then the project
// summary over them. A report that fails is told and the others go on;
// SIGINT or SIGTERM stops the children and leaves only whole reports.
class BatchReport
{
public:
    explicit BatchReport(BatchReportOptions options);
    ~BatchReport();
    BatchReport(const BatchReport &) = delete;
    BatchReport &operator=(const BatchReport &) = delete;

    // The exit status: 0 when every report and the summary were written,
    // 1 otherwise or when cancelled. Throws UsageError for an input that
    // does not exist.
    int run();

private:
    struct Survey;

    bool prepare();
    int loop(CancelSignals &signals);
    int cancel(int signal);
    void startChildren();
    void reapChildren();
    void giveNames();
    void placeReports();
    void tellWritten(Survey &survey);
    void tellFailed(Survey &survey, const std::string &reason);
    bool allTold() const;
    int finish();

    BatchReportOptions m_options;
    std::vector<Survey> m_surveys;
    std::unique_ptr<ExportFolder> m_staging;
    std::unique_ptr<ReportNames> m_names;
    std::unique_ptr<FigureReader> m_figures;
    size_t m_nextToStart = 0;
    size_t m_nextToName = 0;
    int m_running = 0;
    int m_told = 0;
    int m_failed = 0;
};

} // namespace dorvane::cli
