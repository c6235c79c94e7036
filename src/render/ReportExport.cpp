#include "render/ReportExport.h"

#include "core/app/TextIds.h"
#include "core/assess/ConditionAssessment.h"
#include "core/base/MessageSink.h"
#include "core/base/PosixFile.h"
#include "core/base/ProgressSink.h"
#include "core/base/SameFile.h"
#include "core/document/AnimationDocument.h"
#include "core/export/AssessmentReport.h"
#include "core/export/ExportFolder.h"
#include "core/export/ReportContent.h"
#include "core/export/WordProcessor.h"
#include "core/export/WordReport.h"
#include "render/ReportPictures.h"

#include <memory>

namespace dorvane {

namespace {

constexpr int ProgressTotal = 100;

} // namespace

bool writeReport(const AnimationDocument &document, const std::string &output, bool english,
                 ProgressSink *progress, MessageSink &messages, PipeRenderer *renderer,
                 const ReportChoices &choices)
{
    // The report would be renamed over the survey it is made from.
    if (isSameFile(output, document.path())) {
        messages.showMessage(text::CannotSaveOverOpenFile);
        return false;
    }
    ProgressScope scope(progress, ProgressTotal);
    scope.setText(text::ExportingReport);
    ReportContent content;
    content.texts = reportTexts(document);
    content.texts.surveyDate = reportCellText(choices.surveyDate);
    content.texts.company = reportCellText(choices.company);
    // The grading table assess uses too, so that both give the same records.
    std::string gradesProblem;
    const GradingTable grades = GradingTable::load(choices.gradesPath, gradesProblem);
    const ConditionAssessment assessment = assessSurvey(document.derived(), grades);
    content.assessment = assessmentReport(assessment, grades, english);
    content.assessment.chart =
        assessmentChartPicture(assessment, document.derived().cableLengths(), grades, english);
    if (!buildReportPictures(document, content, progress, messages, renderer, choices.look))
        return false; // told already
    const std::string templatePath = reportTemplatePath(english);
    PosixFile templateFile;
    if (!templateFile.open(templatePath, PosixFile::Mode::Read)) {
        messages.showMessage(text::TemplateFailed, systemErrorText(templateFile.lastError()));
        return false;
    }
    templateFile.close();
    std::string partError;
    const std::unique_ptr<WordApplication> application = startWordProcessor(output, &partError);
    if (!application && !partError.empty()) {
        // The program's own report part is missing: an installation fault.
        messages.showMessage(text::ReportError, partError);
        return false;
    }
    const WordReportResult result =
        fillWordReport(application.get(), templatePath, output, content, progress);
    switch (result.outcome) {
    case WordReportResult::Written:
        return true;
    case WordReportResult::CannotStart:
        messages.showMessage(text::WordMissing);
        return false;
    case WordReportResult::Failed:
        messages.showMessage(text::ReportError,
                             result.systemError ? systemErrorText(result.systemError) : "");
        return false;
    }
    return false;
}

} // namespace dorvane
