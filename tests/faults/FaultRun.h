#pragma once

#include "FileFaults.h"
#include "core/base/MessageSink.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace dorvane::test {

// One write path of the program, run again and again in a fresh folder.
class Scenario
{
public:
    virtual ~Scenario() = default;
    // Makes the files the path starts from and opens what it needs; the file
    // operations here are not counted.
    virtual void prepare(const std::string &folder) = 0;
    // The path itself; its file operations under the folder are counted.
    virtual bool run(MessageSink &messages) = 0;
};

struct WritePath
{
    std::string name;
    std::function<std::unique_ptr<Scenario>()> make;
    // A failure must leave every file as it was: it writes in place.
    bool inPlace = false;
    // It tells the user itself; otherwise its caller does, from the result.
    bool tellsUser = true;
    // What it tells comes with the system's reason for the failure.
    bool givesReason = false;
    // Reads are counted and faulted too.
    bool withReads = false;
    // True when two versions of a file hold the same thing; null: the same
    // bytes. For formats that carry the time they were made.
    std::function<bool(const std::vector<uint8_t> &, const std::vector<uint8_t> &)> sameContent;
    // The next start after a kill: opens what the path left, which may put
    // it right. Its messages are recorded with the run's.
    std::function<void(const std::string &folder, MessageSink &messages)> reopen;
};

// What one run left.
struct RunResult
{
    int failAt = 0;
    std::string operation; // the operation that got the fault
    Fault fault = Fault::None;
    bool returned = false;
    bool killed = false;
    std::map<std::string, std::string> files; // name: absent, before, new or partial
    std::vector<std::string> leftovers;       // names neither before nor after
    std::vector<int> messages;
    std::vector<std::string> details; // of the messages that have one
};

// The operations a clean run of the path counts, with its result; checks
// that it succeeds and says nothing.
std::vector<std::string> countOperations(const WritePath &path);

// Runs the path with the failAt-th operation faulted and checks what is
// left: every file as before or as a clean run leaves it (for paths writing
// in place, as before whenever the path fails), no temporary file, and a
// failure told to the user. A killed run is opened again with reopen, if
// the path has one, before its files are looked at.
RunResult runWithFault(const WritePath &path, int failAt, Fault fault);

// Adds a row to the table written to $DORVANE_FAULT_MATRIX, if set.
void recordRow(const std::string &path, const RunResult &result);

} // namespace dorvane::test
