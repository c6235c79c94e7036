#pragma once

#include <string>

namespace dorvane {

// The folder of the running executable, with '/' separators and a trailing
// '/'. Configuration and language files live there.
std::string programFolder();

// Where the user's own settings go: $XDG_CONFIG_HOME (when it is an absolute
// path, else ~/.config) followed by "/Dorvane/Tessiq", with no trailing '/';
// the folder Qt names the application's configuration location, so that the
// desktop program and the batch tool share it without the tool loading Qt.
std::string defaultUserConfigFolder();

// The manual's first page in the program folder: the Chinese manual for the
// built-in language, the English one for every language file.
std::string manualPath(int language);

} // namespace dorvane
