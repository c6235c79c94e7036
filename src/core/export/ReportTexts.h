#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>

namespace dorvane {

class AnimationDocument;

// The report's texts by what they say. Texts are UTF-8 and hold only
// characters a document can: a control character of the survey's header
// (other than a tab or a line break) is left out.
struct ReportTexts
{
    // One row of the sediment table.
    struct SedimentClass
    {
        std::string length; // metres, "12.5"
        std::string share;  // per cent of the total length, "25.0"
    };

    std::string place;
    // The survey's date and the company that made it, as the user entered
    // them; the survey file holds neither.
    std::string surveyDate;
    std::string company;
    // Class 0, the least sediment, first.
    std::array<SedimentClass, 4> sedimentClasses;
    std::string wells;           // "start-end"
    std::string totalLength;     // "12.3 m"
    std::string averageSediment; // "4.5%"
    // The last pipe information cell holds an ideographic space.
    std::string blankCell = "\u3000";
};

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

ReportTexts reportTexts(const ReportFigures &figures);
// The figures of the open survey: its file header's texts and its derived
// values.
ReportTexts reportTexts(const AnimationDocument &document);

// A text as a report cell can hold it: control characters other than tabs
// and line breaks are left out (the survey's texts and those the user
// enters alike).
std::string reportCellText(std::string text);

// "2024-2-3 090507.docx" for 9:05:07 on 3 February 2024.
std::string defaultReportFileName(const std::tm &localTime);

} // namespace dorvane
