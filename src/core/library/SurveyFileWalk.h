#pragma once

#include "core/library/SurveyCatalogue.h"

#include <optional>
#include <string>
#include <vector>

namespace dorvane {

// A survey file found on the disk, with its stamp as it is now.
struct SurveyFile
{
    std::string path;
    FileStamp stamp;
};

// Whether the name is that of a survey: *.Imv or *.img, in any case.
bool isSurveyFileName(const std::string &name);

// The file's stamp now; empty when it cannot be had or the file is not a
// regular one, with gone set when nothing has its name any more.
std::optional<FileStamp> surveyFileStamp(const std::string &path, bool &gone);

// Every survey file in the folders and the folders below them. Folders that
// cannot be read are passed over; links to folders are not followed, and no
// folder is walked twice, so that nested library folders and bind mounts
// neither loop nor list a file twice.
std::vector<SurveyFile> findSurveyFiles(const std::vector<std::string> &folders);

} // namespace dorvane
