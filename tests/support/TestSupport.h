#pragma once

#include "core/base/MessageSink.h"
#include "core/base/ProgressSink.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <utility>
#include <vector>

namespace dorvane::test {

// Remembers every message shown.
class RecordingMessageSink final : public MessageSink
{
public:
    Answer ask(int textId, Buttons) override
    {
        questions.push_back(textId);
        return answer;
    }

    std::vector<int> messages;
    std::vector<std::string> details; // of the messages that have one
    std::vector<int> questions;
    Answer answer = Answer::Cancel;

private:
    void deliver(int textId, std::string_view detail) override
    {
        messages.push_back(textId);
        if (!detail.empty())
            details.emplace_back(detail);
    }
};

// Remembers every progress post.
class RecordingProgressSink final : public ProgressSink
{
public:
    void postProgress(int done, int total) override { posts.emplace_back(done, total); }
    std::vector<std::pair<int, int>> posts;
};

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &path() const { return m_path; }
    std::string file(const std::string &name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// While it lives, no file of the process may grow beyond maxBytes: a write
// that would reach past it fails, as on a full disk.
class FullDisk
{
public:
    explicit FullDisk(rlim_t maxBytes);
    ~FullDisk();
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

private:
    rlimit m_old{};
    void (*m_handler)(int) = nullptr;
};

// The names of the entries of a folder.
std::vector<std::string> namesIn(const std::filesystem::path &folder);

// The bytes of a text, for files written or expected in tests.
std::vector<uint8_t> bytesOf(std::string_view text);
std::vector<uint8_t> readFileBytes(const std::string &path);
void writeFileBytes(const std::string &path, const std::vector<uint8_t> &bytes);

// A simulated survey of frameCount frames written to path.
void writeSurvey(const std::string &path, int frameCount, uint64_t seed = 1);

// Extends the file at path with a hole: to 2 TiB, or where the filesystem
// will not take a sparse file that large, to 256 GiB or 64 GiB. The size it
// reached; 0 when it took none of them.
uint64_t extendSparse(const std::string &path);

// The bytes of an IMG file whose fields carry recognisable values.
std::vector<uint8_t> makeImgFile(uint16_t detectRadius, float cableLength, uint8_t sampleFill);

} // namespace dorvane::test
