#pragma once

#include "core/library/SurveyFigures.h"

#include <optional>
#include <string>

namespace dorvane {

// What a batch made of one survey: its figures when it could be read, and
// its report's file name or why there is none.
struct SurveyOutcome
{
    std::string file;
    std::optional<SurveyFigures> figures;
    std::string report; // the file name in the output folder
    std::string error;
};

} // namespace dorvane
