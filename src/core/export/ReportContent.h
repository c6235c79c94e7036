#pragma once

#include "core/export/ReportTexts.h"
#include "core/export/RgbPicture.h"

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

    ReportTexts texts;
    // The sediment depth chart.
    RgbPicture chart;
    PipeViews pipeViews;
    // The frames marked for the report, in frame order.
    std::vector<RgbPicture> frames;
};

} // namespace dorvane
