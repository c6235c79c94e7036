#include "cli/BatchReport.h"

#include "cli/CancelSignals.h"
#include "cli/FigureReader.h"
#include "cli/ProjectSummaryFiles.h"
#include "cli/ReportChild.h"
#include "cli/ReportNames.h"
#include "cli/UsageError.h"
#include "core/app/Settings.h"
#include "core/assess/GradingTable.h"
#include "core/export/ExportFolder.h"
#include "core/library/ReportFileName.h"
#include "core/library/SurveyFiles.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace dorvane::cli {

namespace fs = std::filesystem;

struct BatchReport::Survey
{
    std::string path;
    std::string staged;
    std::unique_ptr<ReportChild> child;
    std::string name; // given in the surveys' order, once its figures are read
    bool written = false;
    bool told = false;
    SurveyOutcome outcome;
};

namespace {

// How long the children have to end after SIGTERM before they are killed.
constexpr auto TerminateGrace = std::chrono::seconds(10);

// Moves the whole report into place without replacing anything there.
int moveInto(const std::string &from, const std::string &to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A filesystem without RENAME_NOREPLACE: a hard link refuses a taken name too.
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno;
    ::unlink(from.c_str());
    return 0;
}

} // namespace

BatchReport::BatchReport(BatchReportOptions options) : m_options(std::move(options))
{
    if (m_options.jobs <= 0)
        m_options.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

BatchReport::~BatchReport() = default;

int BatchReport::run()
{
    // Before anything is made, so that a cancel finds it to clean up, and
    // before the figures' threads start, so that they leave the signals to it.
    CancelSignals signals;
    if (signals.descriptor() < 0) {
        std::fprintf(stderr, "tessiq-cli: cannot wait for signals: %s\n", std::strerror(errno));
        return 1;
    }
    // A reader of the progress lines that goes away must not end the batch
    // before it has cleaned up; the lost output is told at the end.
    std::signal(SIGPIPE, SIG_IGN);
    if (!prepare())
        return 1;
    std::vector<std::string> paths;
    for (const Survey &survey : m_surveys)
        paths.push_back(survey.path);
    std::string problem;
    m_figures = std::make_unique<FigureReader>(paths, GradingTable::load(m_options.grades, problem),
                                               m_options.jobs);
    const int status = loop(signals);
    m_figures.reset();
    return status;
}

bool BatchReport::prepare()
{
    std::string problem;
    if (!m_options.grades.empty() && !GradingTable::read(m_options.grades, problem)) {
        std::fprintf(stderr, "tessiq-cli: grading table refused: %s\n", problem.c_str());
        return false;
    }
    const std::vector<std::string> paths = findSurveyFiles(m_options.inputs, problem);
    if (!problem.empty())
        throw UsageError{problem};
    if (paths.empty()) {
        std::fprintf(stderr, "tessiq-cli: no surveys (*.Imv, *.img) found\n");
        return false;
    }
    std::error_code error;
    fs::create_directories(m_options.outputFolder, error);
    if (error || !fs::is_directory(m_options.outputFolder)) {
        std::fprintf(stderr, "tessiq-cli: %s: %s\n", m_options.outputFolder.c_str(),
                     error ? error.message().c_str() : "not a folder");
        return false;
    }
    // A hidden folder of its own where the children write their reports
    // (and keep their temporary files) until each is whole and moved into
    // place; it goes with everything in it, so a cancelled batch leaves
    // nothing half-written.
    int systemError = 0;
    if (!(m_staging =
              ExportFolder::create(m_options.outputFolder, ".tessiq-batch-", systemError))) {
        std::fprintf(stderr, "tessiq-cli: %s: %s\n", m_options.outputFolder.c_str(),
                     std::strerror(systemError));
        return false;
    }
    m_names = std::make_unique<ReportNames>(m_options.outputFolder, "." + m_options.format);
    m_names->reserve(SummaryCsvName);
    m_names->reserve(SummaryDocumentName);
    m_surveys.resize(paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        Survey &survey = m_surveys[i];
        survey.path = paths[i];
        survey.outcome.file = paths[i];
        survey.staged = m_staging->path() + std::to_string(i) + "." + m_options.format;
    }
    return true;
}

int BatchReport::loop(CancelSignals &signals)
{
    while (!allTold()) {
        startChildren();
        std::vector<pollfd> waits{{signals.descriptor(), POLLIN, 0}};
        if (m_figures->descriptor() >= 0)
            waits.push_back({m_figures->descriptor(), POLLIN, 0});
        for (const Survey &survey : m_surveys)
            if (survey.child && survey.child->errorDescriptor() >= 0)
                waits.push_back({survey.child->errorDescriptor(), POLLIN, 0});
        // A child's end comes as SIGCHLD; the timeout only bounds a missed one.
        ::poll(waits.data(), waits.size(), 500);
        if (const int signal = signals.take())
            return cancel(signal);
        m_figures->acknowledge();
        reapChildren();
        giveNames();
        placeReports();
    }
    return finish();
}

void BatchReport::startChildren()
{
    while (m_running < m_options.jobs && m_nextToStart < m_surveys.size()) {
        Survey &survey = m_surveys[m_nextToStart];
        // The child's temporary files (LibreOffice's among them) go with the
        // staging folder too.
        const std::string temporary = m_staging->path() + "t" + std::to_string(m_nextToStart);
        ++m_nextToStart;
        std::error_code ignored;
        fs::create_directory(temporary, ignored);
        std::vector<std::string> arguments = {"tessiq-cli", "report", survey.path, "-o",
                                              survey.staged};
        if (!m_options.grades.empty())
            arguments.insert(arguments.end(), {"--grades", m_options.grades});
        if (!m_options.surveyDate.empty())
            arguments.insert(arguments.end(), {"--survey-date", m_options.surveyDate});
        if (!m_options.company.empty())
            arguments.insert(arguments.end(), {"--company", m_options.company});
        std::string error;
        // The child takes its signals as a program started from a shell does.
        sigset_t defaults;
        sigemptyset(&defaults);
        for (int signal : {SIGINT, SIGTERM, SIGCHLD, SIGPIPE})
            sigaddset(&defaults, signal);
        survey.child = ReportChild::start("/proc/self/exe", arguments, {"TMPDIR=" + temporary},
                                          defaults, error);
        if (survey.child)
            ++m_running;
        else
            tellFailed(survey, "the report cannot be started: " + error);
    }
}

void BatchReport::reapChildren()
{
    for (size_t i = 0; i < m_surveys.size(); ++i) {
        Survey &survey = m_surveys[i];
        if (!survey.child || survey.child->ended())
            continue;
        survey.child->readErrors();
        if (!survey.child->reap())
            continue;
        --m_running;
        std::error_code ignored;
        fs::remove_all(m_staging->path() + "t" + std::to_string(i), ignored);
        if (survey.child->succeeded() && fs::is_regular_file(survey.staged))
            survey.written = true;
        else
            tellFailed(survey, survey.child->failure());
    }
}

void BatchReport::giveNames()
{
    while (m_nextToName < m_surveys.size() && m_figures->isRead(m_nextToName)) {
        Survey &survey = m_surveys[m_nextToName];
        const FigureReader::Result &read = m_figures->result(m_nextToName);
        survey.outcome.figures = read.figures;
        if (!read.figures && survey.outcome.error.empty())
            survey.outcome.error = read.error;
        const SurveyFigures none;
        const SurveyFigures &f = read.figures ? *read.figures : none;
        survey.name = m_names->give(reportFileName(f.place, f.startWell, f.endWell, survey.path));
        ++m_nextToName;
    }
}

void BatchReport::placeReports()
{
    for (Survey &survey : m_surveys) {
        if (!survey.written || survey.told || survey.name.empty())
            continue;
        int error = 0;
        // Something else may have taken the name since it was given.
        while ((error = moveInto(survey.staged, m_options.outputFolder + "/" + survey.name)) ==
               EEXIST)
            survey.name = m_names->give(fs::path(survey.name).stem().string());
        if (error) {
            tellFailed(survey,
                       std::string("the report cannot be put in place: ") + std::strerror(error));
            continue;
        }
        survey.outcome.report = survey.name;
        tellWritten(survey);
    }
}

void BatchReport::tellWritten(Survey &survey)
{
    survey.told = true;
    ++m_told;
    const std::string report = (fs::path(m_options.outputFolder) / survey.name).string();
    std::fprintf(stderr, "tessiq-cli: [%d/%zu] %s: written as %s\n", m_told, m_surveys.size(),
                 survey.path.c_str(), report.c_str());
    std::printf("ok\t%s\t%s\n", survey.path.c_str(), report.c_str());
    std::fflush(stdout);
}

void BatchReport::tellFailed(Survey &survey, const std::string &reason)
{
    survey.told = true;
    survey.outcome.error = reason;
    ++m_told;
    ++m_failed;
    std::fprintf(stderr, "tessiq-cli: [%d/%zu] %s: failed: %s\n", m_told, m_surveys.size(),
                 survey.path.c_str(), reason.c_str());
    std::printf("failed\t%s\t%s\n", survey.path.c_str(), reason.c_str());
    std::fflush(stdout);
}

bool BatchReport::allTold() const
{
    return m_told == static_cast<int>(m_surveys.size());
}

int BatchReport::cancel(int signal)
{
    std::fprintf(stderr, "tessiq-cli: cancelled by %s: %d of %zu reports written, no summary\n",
                 strsignal(signal), m_told - m_failed, m_surveys.size());
    m_figures->cancel();
    std::vector<ReportChild *> stopping;
    for (Survey &survey : m_surveys)
        if (survey.child && !survey.child->ended())
            stopping.push_back(survey.child.get());
    for (ReportChild *child : stopping)
        child->signal(SIGTERM);
    // What they started must be gone too before their files are removed.
    const auto deadline = std::chrono::steady_clock::now() + TerminateGrace;
    for (bool killed = false;;) {
        const bool running = std::any_of(stopping.begin(), stopping.end(), [](ReportChild *child) {
            child->reap();
            return !child->sessionEnded();
        });
        if (!running || killed)
            break;
        if (std::chrono::steady_clock::now() > deadline) {
            for (ReportChild *child : stopping)
                child->signal(SIGKILL);
            killed = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    for (Survey &survey : m_surveys)
        survey.child.reset();
    // What they were writing goes with the staging folder.
    m_staging.reset();
    return 1;
}

int BatchReport::finish()
{
    // The last names wait for the last figures.
    while (m_nextToName < m_surveys.size()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        giveNames();
    }
    m_staging.reset();
    std::vector<SurveyOutcome> outcomes;
    for (const Survey &survey : m_surveys)
        outcomes.push_back(survey.outcome);
    std::string error;
    const bool english = settings().language != 0;
    if (!writeProjectSummary(m_options.outputFolder, outcomes, english, error)) {
        std::fprintf(stderr, "tessiq-cli: the summary cannot be written: %s\n", error.c_str());
        return 1;
    }
    const std::string csv = (fs::path(m_options.outputFolder) / SummaryCsvName).string();
    const std::string docx = (fs::path(m_options.outputFolder) / SummaryDocumentName).string();
    std::fprintf(stderr, "tessiq-cli: %d of %zu reports written; summary %s, %s\n",
                 m_told - m_failed, m_surveys.size(), csv.c_str(), docx.c_str());
    std::printf("summary\t%s\t%s\n", csv.c_str(), docx.c_str());
    return m_failed ? 1 : 0;
}

} // namespace dorvane::cli
