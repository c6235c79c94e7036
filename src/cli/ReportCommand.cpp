#include "cli/Commands.h"
#include "cli/CommonOptions.h"
#include "cli/DrawCommands.h"

#include <CLI/App.hpp>
#include <memory>

namespace dorvane::cli {

CommandAction addReport(CLI::App &command)
{
    auto o = std::make_shared<ReportOptions>();
    addSurveyFile(command, o->path);
    addOutputOption(command, o->output, "OUT.docx|OUT.doc|OUT.pdf");
    command.add_option("--grades", o->grades, "the grading table of the condition section")
        ->type_name("FILE");
    addReportCellOptions(command, o->surveyDate, o->company);
    return [o] {
        const DrawCommands *draw = drawCommands();
        return draw ? draw->report(*o) : 1;
    };
}

} // namespace dorvane::cli
