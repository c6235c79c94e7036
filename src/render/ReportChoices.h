#pragma once

#include "render/FrameViewLook.h"

#include <string>

namespace dorvane {

// What a report takes from the user rather than from the survey: how its
// frames are drawn, the grading table of its condition section (empty: the
// one beside the program), and the survey's date and inspecting company for
// its project cells (empty cells when not given).
struct ReportChoices
{
    FrameViewLook look;
    std::string gradesPath;
    std::string surveyDate;
    std::string company;
};

} // namespace dorvane
