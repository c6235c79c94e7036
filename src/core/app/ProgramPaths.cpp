#include "core/app/ProgramPaths.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

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

std::string defaultUserConfigFolder()
{
    const char *config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return std::string(config) + "/Dorvane/Tessiq";
    const char *home = std::getenv("HOME");
    std::string folder = home && *home ? home : "";
    if (folder.empty())
        if (const passwd *user = ::getpwuid(::getuid()); user && user->pw_dir)
            folder = user->pw_dir;
    return folder + "/.config/Dorvane/Tessiq";
}

std::string manualPath(int language)
{
    return programFolder() + (language == 0 ? "help/zh/index.html" : "help/en/index.html");
}

} // namespace dorvane
