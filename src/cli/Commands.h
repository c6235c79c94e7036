#pragma once

#include <functional>

namespace CLI {
class App;
}

namespace dorvane::cli {

// Runs a command once its command line is parsed and returns the exit
// status: 0 success, 1 failure. Bad usage found only then throws UsageError.
using CommandAction = std::function<int()>;

// Each declares its command's arguments and options, with their help, on
// the command's subcommand and returns the action that runs it.
CommandAction addInfo(CLI::App &command);
CommandAction addFrames(CLI::App &command);
CommandAction addProfile(CLI::App &command);
CommandAction addRender(CLI::App &command);
CommandAction addPalette(CLI::App &command);
CommandAction addSimulate(CLI::App &command);
CommandAction addApply(CLI::App &command);
CommandAction addDeleteFrame(CLI::App &command);
CommandAction addCopy(CLI::App &command);
CommandAction addDeviationMap(CLI::App &command);
CommandAction addChart(CLI::App &command);
CommandAction addMesh(CLI::App &command);
CommandAction addImport(CLI::App &command);
CommandAction addRecord(CLI::App &command);
CommandAction addProbeStatus(CLI::App &command);
CommandAction addRender3d(CLI::App &command);
CommandAction addReport(CLI::App &command);
CommandAction addVideo(CLI::App &command);
CommandAction addAssess(CLI::App &command);
CommandAction addBatchReport(CLI::App &command);
CommandAction addLibrary(CLI::App &command);

} // namespace dorvane::cli
