#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace dorvane::fuzz {

namespace {

std::string scratchRoot()
{
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0)
        return "/dev/shm";
    const char *tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

} // namespace

ScratchFile::ScratchFile(const std::string &suffix)
    : m_path(scratchRoot() + "/dorvane-fuzz-" + std::to_string(::getpid()) + suffix)
{}

ScratchFile::~ScratchFile()
{
    std::remove(m_path.c_str());
}

const std::string &ScratchFile::write(const uint8_t *data, size_t size)
{
    // A failure here would make every later input meaningless: stop loudly.
    FILE *file = std::fopen(m_path.c_str(), "wb");
    if (!file || (size > 0 && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0)
        std::abort();
    return m_path;
}

ScratchFolder::ScratchFolder()
{
    std::string pattern = scratchRoot() + "/dorvane-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        std::abort();
    m_path = pattern;
}

ScratchFolder::~ScratchFolder()
{
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
}

} // namespace dorvane::fuzz
