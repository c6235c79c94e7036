#include "cli/StagingFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace dorvane::cli {

std::unique_ptr<StagingFolder> StagingFolder::create(const std::string &parent, std::string &error)
{
    // Absolute: the children are handed it as their temporary folder.
    std::error_code absolute;
    std::string pattern =
        (std::filesystem::absolute(parent, absolute) / ".tessiq-batch-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        error = std::strerror(errno);
        return nullptr;
    }
    return std::unique_ptr<StagingFolder>(new StagingFolder(pattern));
}

StagingFolder::~StagingFolder()
{
    // remove_all takes links themselves, never what they point to.
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
}

} // namespace dorvane::cli
