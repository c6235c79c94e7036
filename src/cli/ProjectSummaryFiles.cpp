#include "cli/ProjectSummaryFiles.h"

#include "core/base/MessageSink.h"
#include "core/export/SummaryCsv.h"
#include "core/export/SummaryDocument.h"
#include "core/export/WordProcessor.h"
#include "core/library/SummaryTable.h"

#include <filesystem>
#include <memory>

namespace dorvane::cli {

bool writeProjectSummary(const std::string &folder, const std::vector<SurveyOutcome> &outcomes,
                         bool english, std::string &error)
{
    const std::string csvPath = (std::filesystem::path(folder) / SummaryCsvName).string();
    int systemError = 0;
    if (!writeSummaryCsv(csvPath, summaryTable(outcomes, true), systemError)) {
        error = csvPath + ": " + systemErrorText(systemError);
        return false;
    }
    // The document is written by the report part, loaded only now.
    const std::string docxPath = (std::filesystem::path(folder) / SummaryDocumentName).string();
    std::string partError;
    const std::unique_ptr<WordApplication> application = startWordProcessor(docxPath, &partError);
    const WordReportResult result = writeSummaryDocument(
        application.get(), summaryTemplatePath(), docxPath,
        english ? "Project summary" : "项目汇总", summaryTable(outcomes, english));
    if (result.outcome != WordReportResult::Written) {
        error = docxPath + ": " +
                (!partError.empty()        ? partError
                 : result.systemError != 0 ? systemErrorText(result.systemError)
                                           : "the document cannot be written");
        return false;
    }
    return true;
}

} // namespace dorvane::cli
