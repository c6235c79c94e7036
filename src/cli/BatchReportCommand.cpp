#include "cli/BatchReport.h"
#include "cli/Commands.h"
#include "cli/CommonOptions.h"

#include <CLI/App.hpp>
#include <CLI/Validators.hpp>
#include <memory>

namespace dorvane::cli {

CommandAction addBatchReport(CLI::App &command)
{
    auto o = std::make_shared<BatchReportOptions>();
    command.add_option("SURVEY", o->inputs, "surveys, and folders searched for *.Imv and *.img")
        ->type_name("")
        ->required();
    command.add_option("-o", o->outputFolder, "the folder of the reports (made when missing)")
        ->type_name("OUTDIR")
        ->required();
    addWholeNumber(command, "--jobs", o->jobs, 1, 256, "N",
                   "reports written at once (one per core)");
    command.add_option("--format", o->format, "the reports' format (docx)")
        ->type_name("docx|pdf")
        ->check(CLI::IsMember({"docx", "pdf"}).description(""));
    command.add_option("--grades", o->grades, "the grading table of the condition sections")
        ->type_name("FILE");
    addReportCellOptions(command, o->surveyDate, o->company);
    return [o] { return BatchReport(*o).run(); };
}

} // namespace dorvane::cli
