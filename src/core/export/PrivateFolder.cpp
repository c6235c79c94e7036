#include "core/export/PrivateFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace dorvane {

PrivateFolder::~PrivateFolder()
{
    if (m_path.empty())
        return;
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
}

bool PrivateFolder::create(const std::string &prefix)
{
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (error)
        return false;
    const std::string pattern = (temporary / (prefix + "XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // mkdtemp makes the folder with mode 0700.
    if (!::mkdtemp(name.data()))
        return false;
    m_path = name.data();
    return true;
}

} // namespace dorvane
