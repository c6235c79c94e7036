#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace dorvane::fuzz {

// The readers under test take paths: each input is written to one scratch
// file of this process (in /dev/shm when there is one, so no disk is worn),
// which is replaced on every call and removed at exit.
class ScratchFile
{
public:
    explicit ScratchFile(const std::string &suffix);
    ~ScratchFile();
    ScratchFile(const ScratchFile &) = delete;
    ScratchFile &operator=(const ScratchFile &) = delete;

    // Writes the input as the file's whole content; the path to read.
    const std::string &write(const uint8_t *data, size_t size);
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

// A folder of this process's own for outputs (movies, reports), removed with
// everything in it at exit.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    std::string file(const std::string &name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

} // namespace dorvane::fuzz
