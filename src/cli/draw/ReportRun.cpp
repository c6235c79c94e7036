#include "cli/OpenSurvey.h"
#include "cli/draw/DrawRuns.h"
#include "cli/draw/GuiSession.h"
#include "core/app/Settings.h"
#include "core/assess/GradingTable.h"
#include "render/ReportExport.h"

#include <cstdio>

namespace dorvane::cli {

int runReport(const ReportOptions &o)
{
    std::string problem;
    if (!o.grades.empty() && !GradingTable::read(o.grades, problem)) {
        std::fprintf(stderr, "tessiq-cli: grading table refused: %s\n", problem.c_str());
        return 1;
    }
    Session session;
    if (!session.open(o.path))
        return 1;
    // The pictures are drawn with Qt, the 3D views with OpenGL.
    GuiSession gui;
    return writeReport(session.document, o.output, settings().language != 0, &session.progress,
                       session.messages, nullptr, {{}, o.grades, o.surveyDate, o.company})
               ? 0
               : 1;
}

} // namespace dorvane::cli
