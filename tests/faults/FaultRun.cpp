#include "FaultRun.h"

#include "support/TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dorvane::test {

namespace {

using Snapshot = std::map<std::string, std::vector<uint8_t>>;

Snapshot snapshot(const std::filesystem::path &folder)
{
    Snapshot files;
    for (const auto &name : namesIn(folder))
        files[name] = readFileBytes((folder / name).string());
    return files;
}

struct CleanRun
{
    Snapshot before;
    Snapshot after;
    std::vector<std::string> operations;
};

CleanRun cleanRun(const WritePath &path)
{
    CleanRun clean;
    TempDir dir;
    const std::string folder = std::filesystem::canonical(dir.path()).string();
    auto scenario = path.make();
    scenario->prepare(folder);
    clean.before = snapshot(folder);
    RecordingMessageSink messages;
    bool ok = false;
    {
        FileFaults faults(folder, 0, Fault::None, path.withReads);
        ok = scenario->run(messages);
        clean.operations = faults.operations();
    }
    scenario.reset();
    clean.after = snapshot(folder);
    EXPECT_TRUE(ok) << path.name;
    EXPECT_EQ(messages.messages, std::vector<int>{}) << path.name;
    return clean;
}

std::string stateOf(const WritePath &path, const Snapshot &now, const Snapshot &before,
                    const Snapshot &after, const std::string &name)
{
    const auto it = now.find(name);
    if (it == now.end())
        return "absent";
    const auto same = [&path](const std::vector<uint8_t> &x, const std::vector<uint8_t> &y) {
        return path.sameContent ? path.sameContent(x, y) : x == y;
    };
    const auto b = before.find(name);
    if (b != before.end() && same(it->second, b->second))
        return "before";
    const auto a = after.find(name);
    if (a != after.end() && same(it->second, a->second))
        return "new";
    return "partial";
}

} // namespace

std::vector<std::string> countOperations(const WritePath &path)
{
    return cleanRun(path).operations;
}

RunResult runWithFault(const WritePath &path, int failAt, Fault fault)
{
    static std::map<std::string, CleanRun> cleanRuns;
    auto found = cleanRuns.find(path.name);
    if (found == cleanRuns.end())
        found = cleanRuns.emplace(path.name, cleanRun(path)).first;
    const CleanRun &clean = found->second;

    RunResult result;
    result.failAt = failAt;
    result.fault = fault;
    if (failAt >= 1 && failAt <= static_cast<int>(clean.operations.size()))
        result.operation = clean.operations[static_cast<size_t>(failAt - 1)];

    TempDir dir;
    const std::string folder = std::filesystem::canonical(dir.path()).string();
    auto scenario = path.make();
    scenario->prepare(folder);
    RecordingMessageSink messages;
    if (fault == Fault::Kill) {
        const pid_t child = ::fork();
        if (child == 0) {
            FileFaults faults(folder, failAt, fault, path.withReads);
            const bool ok = scenario->run(messages);
            ::_exit(ok ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        result.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        result.returned = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    } else {
        FileFaults faults(folder, failAt, fault, path.withReads);
        result.returned = scenario->run(messages);
    }
    scenario.reset();
    if (fault == Fault::Kill && path.reopen)
        path.reopen(folder, messages);
    result.messages = messages.messages;
    result.details = messages.details;

    const Snapshot now = snapshot(folder);
    std::vector<std::string> names;
    for (const auto &[name, bytes] : clean.before)
        names.push_back(name);
    for (const auto &[name, bytes] : clean.after)
        if (!clean.before.count(name))
            names.push_back(name);
    for (const auto &name : names)
        result.files[name] = stateOf(path, now, clean.before, clean.after, name);
    for (const auto &[name, bytes] : now)
        if (std::find(names.begin(), names.end(), name) == names.end())
            result.leftovers.push_back(name);
    return result;
}

void recordRow(const std::string &path, const RunResult &result)
{
    const char *file = std::getenv("DORVANE_FAULT_MATRIX");
    if (!file)
        return;
    std::ofstream out(file, std::ios::app);
    out << path << '\t' << result.failAt << '\t' << result.operation << '\t'
        << faultName(result.fault) << '\t'
        << (result.killed     ? "killed"
            : result.returned ? "true"
                              : "false")
        << '\t';
    bool first = true;
    for (const auto &[name, state] : result.files) {
        out << (first ? "" : " ") << name << '=' << state;
        first = false;
    }
    out << '\t' << result.leftovers.size() << '\t';
    first = true;
    for (const int id : result.messages) {
        out << (first ? "" : ",") << id;
        first = false;
    }
    out << '\n';
}

} // namespace dorvane::test
