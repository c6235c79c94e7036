#pragma once

#include "core/export/ReportTexts.h"
#include "core/export/RgbPicture.h"

#include <array>
#include <string>
#include <vector>

namespace dorvane {

// Everything a report shows: its texts and its pictures, held in memory.
struct ReportContent
{
    // The 3D pipe model from its four viewpoints.
    struct PipeViews
    {
        RgbPicture centre;
        RgbPicture outside;
        RgbPicture inside;
        RgbPicture far;
    };

    // The pipe's condition: the summary's values (assessed length, sediment
    // volume, mean and largest capacity loss, worst deposit and deformation
    // grades), one row of eight cells per defect record, and the sentence
    // that stands for the records table when there are none.
    struct Assessment
    {
        std::array<std::string, 6> summary;
        std::vector<std::array<std::string, 8>> records;
        std::string noRecords;
        RgbPicture chart;
    };

    // A frame marked for the report and the caption below its picture.
    struct MarkedFrame
    {
        RgbPicture picture;
        std::string caption;
    };

    ReportTexts texts;
    // The sediment depth chart.
    RgbPicture chart;
    PipeViews pipeViews;
    // The frames marked for the report, in frame order, and the sentence
    // that stands for their table when there are none.
    std::vector<MarkedFrame> frames;
    std::string noFrames;
    Assessment assessment;
};

} // namespace dorvane
