#pragma once

#include <string>

namespace dorvane {

// A folder as the library keeps it: absolute, without "." or ".." and
// without a trailing '/' (but "/" itself).
std::string libraryFolderPath(const std::string &folder);

// Whether path lies in folder or in a folder below it (both as kept).
bool isInFolder(const std::string &path, const std::string &folder);

} // namespace dorvane
