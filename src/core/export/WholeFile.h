#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dorvane {

// Writes bytes as the file at path, complete or absent (through a temporary
// file renamed into place). On failure systemError is the errno value of the
// call the system refused, or 0 when no call failed (a folder stands where
// the file would go, say).
bool writeWholeFile(const std::string &path, const std::vector<uint8_t> &bytes, int &systemError);

} // namespace dorvane
