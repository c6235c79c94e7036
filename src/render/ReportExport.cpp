#include "render/ReportExport.h"

#include "core/app/TextIds.h"
#include "core/base/MessageSink.h"
#include "core/base/ProgressSink.h"
#include "core/export/ExportFolder.h"
#include "core/export/ReportTexts.h"
#include "core/export/WordProcessor.h"
#include "core/export/WordReport.h"
#include "render/ReportPictures.h"

#include <memory>
#include <vector>

namespace dorvane {

namespace {

constexpr int ProgressTotal = 100;

} // namespace

bool writeReport(const AnimationDocument &document, const std::string &output, bool english,
                 ProgressSink *progress, MessageSink &messages, PipeRenderer *renderer)
{
    ProgressScope scope(progress, ProgressTotal);
    scope.setText(text::ExportingReport);
    const std::unique_ptr<ExportFolder> folder = ExportFolder::create();
    if (!folder) {
        messages.showMessage(text::SaveBmpFailed);
        return false;
    }
    const int count = buildReportPictures(document, folder->path(), progress, messages, renderer);
    if (count < 0)
        return false; // told already
    std::vector<std::string> pictures;
    for (int k = 0; k < count; ++k)
        pictures.push_back(folder->path() + std::to_string(k));
    scope.step(8, ProgressTotal);
    const std::string templateCopy = folder->copyIn(reportTemplatePath(english));
    if (templateCopy.empty()) {
        messages.showMessage(text::TemplateFailed);
        return false;
    }
    scope.step(10, ProgressTotal);
    const std::vector<std::string> texts = reportTexts(document);
    const std::unique_ptr<WordApplication> application = startWordProcessor(output);
    switch (fillWordReport(application.get(), templateCopy, output, pictures, texts, progress)) {
    case WordReportResult::Written:
        return true;
    case WordReportResult::CannotStart:
        messages.showMessage(text::WordMissing);
        return false;
    case WordReportResult::Failed:
        messages.showMessage(text::ReportError);
        return false;
    }
    return false;
}

} // namespace dorvane
