#include "cli/Commands.h"
#include "cli/CommonOptions.h"
#include "cli/DrawCommands.h"

#include <CLI/App.hpp>
#include <memory>

namespace dorvane::cli {

CommandAction addRender3d(CLI::App &command)
{
    auto o = std::make_shared<Render3dOptions>();
    addSurveyFile(command, o->path);
    addWholeNumber(command, "--viewpoint", o->viewpoint, 0, 3, "K",
                   "0 outside, 1 inside, 2 far, 3 centre")
        ->required();
    addOutputOption(command, o->output, "OUT.bmp");
    addFrameOption(command, o->frame)->description("the frame whose band is highlighted (0)");
    addWholeNumber(command, "--size", o->size, 16, 4096, "N", "the picture's size (500)");
    command.add_flag("--wireframe", o->wireframe, "the model's wire frame instead of its faces");
    return [o] {
        const DrawCommands *draw = drawCommands();
        return draw ? draw->render3d(*o) : 1;
    };
}

} // namespace dorvane::cli
