#include "core/library/SurveyFiles.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <system_error>

namespace dorvane {

namespace fs = std::filesystem;

namespace {

bool isSurveyName(const fs::path &path)
{
    std::string ending = path.extension().string();
    for (char &c : ending)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ending == ".imv" || ending == ".img";
}

} // namespace

std::vector<std::string> findSurveyFiles(const std::vector<std::string> &arguments,
                                         std::string &problem)
{
    std::vector<fs::path> found;
    for (const std::string &argument : arguments) {
        std::error_code error;
        const fs::path path = fs::absolute(argument, error).lexically_normal();
        if (error || !fs::exists(path, error)) {
            problem = "no such file or folder: " + argument;
            return {};
        }
        if (!fs::is_directory(path, error)) {
            found.push_back(path);
            continue;
        }
        fs::recursive_directory_iterator it(path, fs::directory_options::skip_permission_denied,
                                            error);
        for (; !error && it != fs::recursive_directory_iterator(); it.increment(error))
            if (it->is_regular_file(error) && isSurveyName(it->path()))
                found.push_back(it->path().lexically_normal());
        if (error) {
            problem = argument + ": " + error.message();
            return {};
        }
    }
    std::sort(found.begin(), found.end());
    // The same file by another spelling or link is reported once.
    std::set<fs::path> seen;
    std::vector<std::string> surveys;
    for (const fs::path &path : found) {
        std::error_code error;
        const fs::path real = fs::canonical(path, error);
        if (seen.insert(error ? path : real).second)
            surveys.push_back(path.string());
    }
    problem.clear();
    return surveys;
}

} // namespace dorvane
