#include "core/export/ExportFolder.h"

#include "core/app/ProgramPaths.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace dorvane {

namespace {

// A bound on the recursion; LibreOffice's profile, the deepest thing made in
// an export folder, stays far above it.
constexpr int MaximumDepth = 64;

std::string temporaryFolder()
{
    const char *tmpdir = std::getenv("TMPDIR");
    std::string folder = tmpdir && *tmpdir ? tmpdir : "/tmp";
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

// Empties the open folder fd, entry by entry relative to it, so that a link
// is removed as a link and nothing outside is reached.
void removeContents(int fd, int depth)
{
    const int listFd = ::dup(fd);
    if (listFd < 0)
        return;
    DIR *dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return;
    }
    std::vector<std::string> names;
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0)
            names.emplace_back(name);
    }
    ::closedir(dir);

    for (const std::string &name : names) {
        struct stat st
        {};
        if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (!S_ISDIR(st.st_mode)) {
            ::unlinkat(fd, name.c_str(), 0);
            continue;
        }
        if (depth >= MaximumDepth)
            continue;
        const int sub = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub < 0)
            continue;
        removeContents(sub, depth + 1);
        ::close(sub);
        ::unlinkat(fd, name.c_str(), AT_REMOVEDIR);
    }
}

} // namespace

std::unique_ptr<ExportFolder> ExportFolder::create()
{
    int systemError = 0;
    return create(temporaryFolder(), "tessiq-export-", systemError);
}

std::unique_ptr<ExportFolder> ExportFolder::create(const std::string &parent,
                                                   const std::string &prefix, int &systemError)
{
    // Absolute: a child process may be handed it as its temporary folder.
    std::error_code absolute;
    std::string path = (std::filesystem::absolute(parent, absolute) / (prefix + "XXXXXX")).string();
    if (!::mkdtemp(path.data())) {
        systemError = errno;
        return nullptr;
    }
    // mkdtemp asks for 0700; a umask can only take bits away.
    if (::chmod(path.c_str(), 0700) != 0) {
        systemError = errno;
        ::rmdir(path.c_str());
        return nullptr;
    }
    return std::unique_ptr<ExportFolder>(new ExportFolder(path + '/'));
}

ExportFolder::~ExportFolder()
{
    const std::string folder = m_path.substr(0, m_path.size() - 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        removeContents(fd, 0);
        ::close(fd);
    }
    ::rmdir(folder.c_str());
}

std::string reportTemplatePath(bool english)
{
    return programFolder() + (english ? "doc-en.templ" : "doc.templ");
}

} // namespace dorvane
