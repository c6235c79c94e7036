#pragma once

#include <string>

namespace dorvane {

// The folder of the running executable, with '/' separators and a trailing
// '/'. Configuration and language files live there.
std::string programFolder();

} // namespace dorvane
