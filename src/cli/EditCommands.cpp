#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/OpenSurvey.h"
#include "core/display/PictureGeometry.h"
#include "core/document/BulkEdit.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace dorvane::cli {

namespace {

// "--circle X,Y": a picture point, y counted downwards.
ScreenPoint circleOption(const Arguments &arguments)
{
    const auto text = arguments.value("--circle");
    if (!text)
        return PictureCentre;
    constexpr int Last = PictureSize - 1;
    int x = -1, y = -1;
    char tail = 0;
    if (std::sscanf(text->c_str(), "%d,%d%c", &x, &y, &tail) != 2 || x < 0 || x > Last || y < 0 ||
        y > Last)
        throw UsageError{"option --circle takes X,Y with both from 0 to " + std::to_string(Last)};
    return {x, y};
}

} // namespace

int runApply(const std::vector<std::string> &args)
{
    const Arguments arguments(args, {"--kind", "--value", "--circle", "--frame"}, {});
    arguments.expectPositional(1);
    if (!arguments.value("--kind") || !arguments.value("--value"))
        throw UsageError{"options --kind and --value are required"};
    BulkEdit edit;
    // Any number is taken: one that names no kind saves the headers unchanged.
    edit.kind = static_cast<BulkEditKind>(arguments.integer("--kind", 0, 0, 65535));
    edit.value = static_cast<int>(arguments.integer("--value", 0, 0, 65535));
    edit.circle = circleOption(arguments);

    // The edit is made as the property panel makes it, with the chosen frame
    // shown.
    Session session;
    if (!session.openAtFrame(arguments.positional()[0], arguments))
        return 1;
    return session.document.applyToFrames(edit, &session.progress) ? 0 : 1;
}

int runDeleteFrame(const std::vector<std::string> &args)
{
    const Arguments arguments(args, {"--frame"}, {});
    arguments.expectPositional(1);
    if (!arguments.value("--frame"))
        throw UsageError{"option --frame is required"};
    Session session;
    if (!session.openAtFrame(arguments.positional()[0], arguments))
        return 1;
    return session.document.deleteCurrentFrame(&session.progress) ? 0 : 1;
}

int runCopy(const std::vector<std::string> &args)
{
    const Arguments arguments(args, {}, {});
    arguments.expectPositional(2);
    Session session;
    if (!session.open(arguments.positional()[0]))
        return 1;
    return session.document.copyAnimation(arguments.positional()[1], &session.progress, -1) ? 0 : 1;
}

} // namespace dorvane::cli
