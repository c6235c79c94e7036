#include "core/app/ProgramPaths.h"

#include <filesystem>
#include <system_error>

namespace dorvane {

std::string programFolder()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return "./";
    std::string folder = exe.parent_path().string();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string manualPath(int language)
{
    return programFolder() + (language == 0 ? "help/zh/index.html" : "help/en/index.html");
}

} // namespace dorvane
