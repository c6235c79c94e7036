#include "Arguments.h"
#include "Commands.h"
#include "ConsoleSinks.h"
#include "SurveyInput.h"
#include "app/TextIds.h"
#include "data/GbkText.h"

#include <cstdio>

namespace dorvane::cli {

int runInfo(const std::vector<std::string> &args)
{
    const Arguments arguments(args, {}, {});
    arguments.expectPositional(1);
    StderrMessageSink messages;
    const auto survey = SurveyInput::open(arguments.positional()[0], messages);
    if (!survey)
        return 1;
    const AnimationFileHeader &h = survey->fileHeader();
    std::printf("frames: %d\n", survey->frameCount());
    std::printf("place: %s\n", gbkToUtf8(h.place()).c_str());
    std::printf("start_well: %s\n", gbkToUtf8(h.startWell()).c_str());
    std::printf("end_well: %s\n", gbkToUtf8(h.endWell()).c_str());
    return 0;
}

int runFrames(const std::vector<std::string> &args)
{
    const Arguments arguments(args, {}, {});
    arguments.expectPositional(1);
    StderrMessageSink messages;
    const auto survey = SurveyInput::open(arguments.positional()[0], messages);
    if (!survey)
        return 1;
    std::printf("index,cable_m,tilt,roll,detect_mm,pipe_mm,error_pct,defect,report,exclude,"
                "circle_on,circle_x,circle_y\n");
    for (int i = 0; i < survey->frameCount(); ++i) {
        FrameHeader h;
        if (!survey->readHeader(i, h)) {
            std::fflush(stdout);
            messages.showMessage(text::ReadFileDataError);
            return 1;
        }
        std::printf("%d,%.9g,%.9g,%.9g,%u,%u,%u,%u,%u,%u,%u,%u,%u\n", i,
                    static_cast<double>(h.cableLength), static_cast<double>(h.tilt),
                    static_cast<double>(h.roll), h.detectRadius, h.pipeRadius, h.errorRate,
                    h.defectFrame, h.reportShot, h.excludeSediment, h.circleOn, h.circleX,
                    h.circleY);
    }
    return 0;
}

} // namespace dorvane::cli
