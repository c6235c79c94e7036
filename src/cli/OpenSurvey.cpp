#include "cli/OpenSurvey.h"

#include "cli/Arguments.h"

namespace dorvane::cli {

int Session::frameIndex(const Arguments &arguments) const
{
    const long frame = arguments.integer("--frame", 0, 0, INT32_MAX);
    if (frame >= document.frameCount())
        throw UsageError{"the survey has frames 0 to " + std::to_string(document.frameCount() - 1)};
    return static_cast<int>(frame);
}

bool Session::openAtFrame(const std::string &path, const Arguments &arguments)
{
    return open(path) && document.loadFrame(frameIndex(arguments), true);
}

} // namespace dorvane::cli
