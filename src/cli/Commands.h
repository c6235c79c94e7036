#pragma once

#include <string>
#include <vector>

namespace dorvane::cli {

// Each command takes the arguments after its name and returns the exit
// status: 0 success, 1 failure. Bad usage throws UsageError.
int runInfo(const std::vector<std::string> &args);
int runFrames(const std::vector<std::string> &args);
int runRender(const std::vector<std::string> &args);
int runPalette(const std::vector<std::string> &args);
int runSimulate(const std::vector<std::string> &args);
int runProfile(const std::vector<std::string> &args);
int runApply(const std::vector<std::string> &args);
int runDeleteFrame(const std::vector<std::string> &args);
int runCopy(const std::vector<std::string> &args);
int runDeviationMap(const std::vector<std::string> &args);
int runChart(const std::vector<std::string> &args);
int runMesh(const std::vector<std::string> &args);
int runImport(const std::vector<std::string> &args);
int runRecord(const std::vector<std::string> &args);
int runProbeStatus(const std::vector<std::string> &args);
int runRender3d(const std::vector<std::string> &args);
int runReport(const std::vector<std::string> &args);
int runVideo(const std::vector<std::string> &args);

} // namespace dorvane::cli
