#include "cli/ReportNames.h"

#include <filesystem>
#include <system_error>

namespace dorvane::cli {

std::string ReportNames::give(const std::string &stem)
{
    for (int n = 1;; ++n) {
        const std::string name = stem + (n == 1 ? "" : " (" + std::to_string(n) + ")") + m_ending;
        std::error_code error;
        if (m_given.contains(name) ||
            std::filesystem::symlink_status(std::filesystem::path(m_folder) / name, error).type() !=
                std::filesystem::file_type::not_found)
            continue;
        m_given.insert(name);
        return name;
    }
}

} // namespace dorvane::cli
