#include "cli/Commands.h"
#include "cli/CommonOptions.h"
#include "cli/DrawCommands.h"

#include <CLI/App.hpp>
#include <memory>

namespace dorvane::cli {

CommandAction addVideo(CLI::App &command)
{
    auto o = std::make_shared<VideoOptions>();
    addSurveyFile(command, o->input);
    addOutputOption(command, o->output, "OUT.avi");
    command.add_flag("--texts", o->showTexts, "with the frame view's overlay texts");
    addWholeNumber(command, "--size", o->size, 16, 4000, "N", "the movie's size (500)");
    addWholeNumber(command, "--fps", o->fps, 1, 1000, "F", "frames per second (4)");
    return [o] {
        const DrawCommands *draw = drawCommands();
        return draw ? draw->video(*o) : 1;
    };
}

} // namespace dorvane::cli
