#pragma once

#include <string>
#include <vector>

namespace dorvane {

// The surveys named by files and folders (searched recursively for *.Imv and
// *.img, any case), as absolute paths sorted by path, each file once however
// it was reached. A file named directly is taken whatever its name. Empty,
// with problem naming the argument, when one does not exist or a folder
// cannot be read.
std::vector<std::string> findSurveyFiles(const std::vector<std::string> &arguments,
                                         std::string &problem);

} // namespace dorvane
