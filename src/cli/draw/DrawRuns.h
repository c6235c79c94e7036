#pragma once

#include "cli/DrawCommands.h"

namespace dorvane::cli {

// The drawing part's commands.
int runRender(const RenderOptions &options);
int runChart(const ChartOptions &options);
int runRender3d(const Render3dOptions &options);
int runReport(const ReportOptions &options);
int runVideo(const VideoOptions &options);

} // namespace dorvane::cli
