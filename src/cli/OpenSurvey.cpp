#include "cli/OpenSurvey.h"

#include "cli/UsageError.h"

namespace dorvane::cli {

int Session::frameIndex(int frame) const
{
    if (frame >= document.frameCount())
        throw UsageError{"the survey has frames 0 to " + std::to_string(document.frameCount() - 1)};
    return frame;
}

bool Session::openAtFrame(const std::string &path, int frame)
{
    return open(path) && document.loadFrame(frameIndex(frame), true);
}

bool Session::openToEdit(const std::string &path, int frame)
{
    return document.openForWriting(path, &progress) && document.loadFrame(frameIndex(frame), true);
}

} // namespace dorvane::cli
