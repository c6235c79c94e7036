#pragma once

#include <string>

namespace dorvane {

// Both names reach one file: the same device and inode, whatever the
// spelling, symbolic links or hard links. False when either cannot be
// reached (a file about to be created is no other file).
bool isSameFile(const std::string &a, const std::string &b);
// The name reaches the file open as descriptor.
bool isOpenFile(const std::string &path, int descriptor);

} // namespace dorvane
