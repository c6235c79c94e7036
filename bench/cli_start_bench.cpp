// The batch tool's start and its reading speed, as a script sees them: the
// wall time of whole runs of tessiq-cli, against reading the same survey
// from the page cache (what `cat FILE > /dev/null` does).
//
//   build/bin/cli-start-bench --benchmark_repetitions=20
//   (with --benchmark_report_aggregates_only=true for the medians alone)

#include "core/acquire/SurveySimulator.h"
#include "core/base/MessageSink.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace dorvane;

extern char **environ;

namespace {

std::string survey(int frames)
{
    const auto path = std::filesystem::temp_directory_path() /
                      ("dorvane-cli-start-" + std::to_string(frames) + ".Imv");
    if (!std::filesystem::exists(path)) {
        SilentMessageSink messages;
        writeSimulatedSurvey(path.string(), SurveySimulator({}), frames, nullptr, messages);
    }
    return path.string();
}

// One run of the tool with its output thrown away; false when it failed.
bool runTool(const std::vector<std::string> &args)
{
    std::vector<char *> argv;
    std::string tool = TESSIQ_CLI_PATH;
    argv.push_back(tool.data());
    std::vector<std::string> copies = args;
    for (std::string &a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

void BM_InfoOfAOneFrameSurvey(benchmark::State &state)
{
    const std::string path = survey(1);
    for (auto _ : state)
        if (!runTool({"info", path}))
            state.SkipWithError("tessiq-cli info failed");
}
BENCHMARK(BM_InfoOfAOneFrameSurvey)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FramesOf2000(benchmark::State &state)
{
    const std::string path = survey(2000);
    for (auto _ : state)
        if (!runTool({"frames", path}))
            state.SkipWithError("tessiq-cli frames failed");
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_FramesOf2000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reference: cat reading the file, in a process of its own.
void BM_CatOf2000(benchmark::State &state)
{
    const std::string path = survey(2000);
    for (auto _ : state) {
        pid_t pid = 0;
        std::string cat = "/bin/cat", file = path;
        char *argv[] = {cat.data(), file.data(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        int status = 0;
        if (posix_spawn(&pid, cat.c_str(), &actions, nullptr, argv, environ) != 0 ||
            waitpid(pid, &status, 0) != pid)
            state.SkipWithError("cat failed");
        posix_spawn_file_actions_destroy(&actions);
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_CatOf2000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
