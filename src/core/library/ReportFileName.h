#pragma once

#include <string>

namespace dorvane {

// The name a survey's report is saved under, without its ending:
// "<place> <start>-<end>" (UTF-8), the survey file's stem in place of an
// empty place, the wells left out when both are empty. Characters a file
// name may not or should not hold ('/', '\\', control characters, those
// other systems refuse) become '_', as does a leading '.', which would hide
// the file.
std::string reportFileName(const std::string &place, const std::string &startWell,
                           const std::string &endWell, const std::string &surveyPath);

} // namespace dorvane
