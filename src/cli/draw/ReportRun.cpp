#include "cli/OpenSurvey.h"
#include "cli/draw/DrawRuns.h"
#include "cli/draw/GuiSession.h"
#include "core/app/Settings.h"
#include "render/ReportExport.h"

namespace dorvane::cli {

int runReport(const ReportOptions &o)
{
    Session session;
    if (!session.open(o.path))
        return 1;
    // The pictures are drawn with Qt, the 3D views with OpenGL.
    GuiSession gui;
    return writeReport(session.document, o.output, settings().language != 0, &session.progress,
                       session.messages)
               ? 0
               : 1;
}

} // namespace dorvane::cli
