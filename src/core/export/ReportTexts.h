#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <vector>

namespace dorvane {

class AnimationDocument;

// The report's texts, in the order the template's tables take them:
//  0     survey location
//  1..8  length and percentage of each sediment class, class 0 first
//  9     start and end well, "start-end"
//  10    total pipe length, "12.3 m"
//  11    average sediment share, "4.5%"
//  12    an ideographic space
constexpr int ReportTextCount = 13;

// The figures the texts are made of. Texts are UTF-8.
struct ReportFigures
{
    std::string place;
    std::string startWell;
    std::string endWell;
    std::span<const float> cableLengths;
    std::span<const int32_t> sedimentPermille;
    float totalLength = 0;
    int averageSediment = 0; // per mille
};

// The pipe length in each sediment class, by the per-mille value taken
// unsigned: up to 104, 105..304, 305..704, above 704. A frame left out of
// the sediment calculation (-1) is in no class. Frame i brings the cable
// run since frame i - 1 into its class.
std::array<float, 4> sedimentClassLengths(std::span<const float> cableLengths,
                                          std::span<const int32_t> sedimentPermille);

std::vector<std::string> reportTexts(const ReportFigures &figures);
// The figures of the open survey: its file header's texts and its derived
// values.
std::vector<std::string> reportTexts(const AnimationDocument &document);

// "2024-2-3 090507.docx" for 9:05:07 on 3 February 2024.
std::string defaultReportFileName(const std::tm &localTime);

} // namespace dorvane
