#include "cli/Commands.h"
#include "cli/CommonOptions.h"
#include "cli/GuiSession.h"
#include "cli/OpenSurvey.h"
#include "core/app/Settings.h"
#include "render/ReportExport.h"

#include <CLI/App.hpp>
#include <memory>

namespace dorvane::cli {

namespace {

int runReport(const std::string &path, const std::string &output)
{
    Session session;
    if (!session.open(path))
        return 1;
    // The pictures are drawn with Qt, the 3D views with OpenGL.
    GuiSession gui;
    return writeReport(session.document, output, settings().language != 0, &session.progress,
                       session.messages)
               ? 0
               : 1;
}

} // namespace

CommandAction addReport(CLI::App &command)
{
    struct Options
    {
        std::string path;
        std::string output;
    };
    auto o = std::make_shared<Options>();
    addSurveyFile(command, o->path);
    addOutputOption(command, o->output, "OUT.docx|OUT.doc|OUT.pdf");
    return [o] { return runReport(o->path, o->output); };
}

} // namespace dorvane::cli
