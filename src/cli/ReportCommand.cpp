#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/GuiSession.h"
#include "cli/OpenSurvey.h"
#include "core/app/Settings.h"
#include "render/ReportExport.h"

namespace dorvane::cli {

int runReport(const std::vector<std::string> &args)
{
    const Arguments arguments(args, {"-o"}, {});
    arguments.expectPositional(1);
    const std::string output = arguments.required("-o");
    Session session;
    if (!session.open(arguments.positional()[0]))
        return 1;
    // The pictures are drawn with Qt, the 3D views with OpenGL.
    GuiSession gui;
    return writeReport(session.document, output, settings().language != 0, &session.progress,
                       session.messages)
               ? 0
               : 1;
}

} // namespace dorvane::cli
