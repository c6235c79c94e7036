#include "core/library/SurveyFileWalk.h"

#include <cerrno>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <utility>

namespace dorvane {

bool isSurveyFileName(const std::string &name)
{
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || name.size() - dot != 4)
        return false;
    std::string extension = name.substr(dot + 1);
    for (char &c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return extension == "imv" || extension == "img";
}

std::optional<FileStamp> surveyFileStamp(const std::string &path, bool &gone)
{
    struct stat status
    {};
    gone = false;
    if (::stat(path.c_str(), &status) != 0) {
        gone = errno == ENOENT || errno == ENOTDIR;
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode))
        return std::nullopt;
    return FileStamp{static_cast<uint64_t>(status.st_size),
                     static_cast<int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 +
                         status.st_mtim.tv_nsec,
                     static_cast<uint64_t>(status.st_ino)};
}

std::vector<SurveyFile> findSurveyFiles(const std::vector<std::string> &folders)
{
    namespace fs = std::filesystem;
    std::vector<SurveyFile> found;
    std::set<std::pair<dev_t, ino_t>> walked;
    for (const std::string &folder : folders) {
        std::vector<fs::path> pending{folder};
        while (!pending.empty()) {
            const fs::path dir = std::move(pending.back());
            pending.pop_back();
            struct stat status
            {};
            if (::stat(dir.c_str(), &status) != 0 ||
                !walked.emplace(status.st_dev, status.st_ino).second)
                continue;
            std::error_code error;
            for (fs::directory_iterator
                     it(dir, fs::directory_options::skip_permission_denied, error),
                 end;
                 !error && it != end; it.increment(error)) {
                std::error_code typeError;
                const fs::file_status type = it->symlink_status(typeError);
                if (typeError)
                    continue;
                if (fs::is_directory(type)) {
                    pending.push_back(it->path());
                    continue;
                }
                std::string path = it->path().string();
                if (!isSurveyFileName(it->path().filename().string()))
                    continue;
                bool gone = false;
                if (const auto stamp = surveyFileStamp(path, gone))
                    found.push_back({std::move(path), *stamp});
            }
        }
    }
    return found;
}

} // namespace dorvane
