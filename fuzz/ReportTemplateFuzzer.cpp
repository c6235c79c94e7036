// The report template (a .docx package beside the program): unpacked, its
// tables and bookmarks filled with the report's texts and pictures, and the
// document packed and written.
#include "FuzzInput.h"
#include "core/export/ReportContent.h"
#include "core/export/WordProcessor.h"
#include "core/export/WordReport.h"

#include <string>

using namespace dorvane;

namespace {

// A 2 x 2 picture of four colours.
RgbPicture smallPicture(uint8_t seed)
{
    RgbPicture picture;
    picture.width = 2;
    picture.height = 2;
    for (int k = 0; k < 12; ++k)
        picture.pixels.push_back(static_cast<uint8_t>(seed + k * 37));
    return picture;
}

ReportContent content()
{
    ReportContent c;
    c.texts.place = "text 0 沉积";
    for (auto &sedimentClass : c.texts.sedimentClasses) {
        sedimentClass.length = "1.0";
        sedimentClass.share = "25.0";
    }
    c.texts.surveyDate = "2026-12-09";
    c.texts.company = "Dorvane";
    c.texts.wells = "Y1-Y2";
    c.texts.totalLength = "4.0 m";
    c.texts.averageSediment = "12.5%";
    c.chart = smallPicture(1);
    c.pipeViews = {smallPicture(2), smallPicture(3), smallPicture(4), smallPicture(5)};
    // A second row, partly filled.
    for (uint8_t k = 0; k < 4; ++k)
        c.frames.push_back({smallPicture(static_cast<uint8_t>(6 + k)), "第 1 帧\t1.00 m"});
    return c;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static fuzz::ScratchFolder folder;
    static const ReportContent filling = content();
    static fuzz::ScratchFile input(".templ");

    const std::string output = folder.file("report.docx");
    const auto application = startWordProcessor(output);
    (void)fillWordReport(application.get(), input.write(data, size), output, filling, nullptr);
    return 0;
}
