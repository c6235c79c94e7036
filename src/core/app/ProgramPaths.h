#pragma once

#include <string>

namespace dorvane {

// The folder of the running executable, with '/' separators and a trailing
// '/'. Configuration and language files live there.
std::string programFolder();

// The manual's first page in the program folder: the Chinese manual for the
// built-in language, the English one for every language file.
std::string manualPath(int language);

} // namespace dorvane
