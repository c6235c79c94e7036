#include "core/base/SameFile.h"

#include <sys/stat.h>

namespace dorvane {

namespace {

bool sameInode(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

bool isSameFile(const std::string &a, const std::string &b)
{
    struct stat first
    {};
    struct stat second
    {};
    return !a.empty() && !b.empty() && ::stat(a.c_str(), &first) == 0 &&
           ::stat(b.c_str(), &second) == 0 && sameInode(first, second);
}

bool isOpenFile(const std::string &path, int descriptor)
{
    struct stat named
    {};
    struct stat open
    {};
    return descriptor >= 0 && !path.empty() && ::stat(path.c_str(), &named) == 0 &&
           ::fstat(descriptor, &open) == 0 && sameInode(named, open);
}

} // namespace dorvane
