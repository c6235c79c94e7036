#include "cli/Commands.h"
#include "cli/CommonOptions.h"
#include "cli/OpenSurvey.h"
#include "core/display/PictureGeometry.h"
#include "core/document/BulkEdit.h"

#include <CLI/App.hpp>
#include <CLI/Validators.hpp>
#include <cstdio>
#include <memory>
#include <string>

namespace dorvane::cli {

namespace {

// "X,Y": a picture point, y counted downwards.
bool parseCircle(const std::string &text, ScreenPoint &point)
{
    constexpr int Last = PictureSize - 1;
    int x = -1, y = -1;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d,%d%c", &x, &y, &tail) != 2 || x < 0 || x > Last || y < 0 ||
        y > Last)
        return false;
    point = {x, y};
    return true;
}

struct ApplyOptions
{
    std::string path;
    int kind = 0;
    int value = 0;
    std::string circle;
    int frame = 0;
};

int runApply(const ApplyOptions &o)
{
    BulkEdit edit;
    // Any number is taken: one that names no kind saves the headers unchanged.
    edit.kind = static_cast<BulkEditKind>(o.kind);
    edit.value = o.value;
    edit.circle = PictureCentre;
    if (!o.circle.empty())
        parseCircle(o.circle, edit.circle);

    // The edit is made as the property panel makes it, with the chosen frame
    // shown.
    Session session;
    if (!session.openToEdit(o.path, o.frame))
        return 1;
    return session.document.applyToFrames(edit, &session.progress) ? 0 : 1;
}

int runDeleteFrame(const std::string &path, int frame)
{
    Session session;
    if (!session.openToEdit(path, frame))
        return 1;
    return session.document.deleteCurrentFrame(&session.progress) ? 0 : 1;
}

int runCopy(const std::string &path, const std::string &destination)
{
    Session session;
    if (!session.open(path))
        return 1;
    return session.document.copyAnimation(destination, &session.progress, -1) ? 0 : 1;
}

} // namespace

CommandAction addApply(CLI::App &command)
{
    auto o = std::make_shared<ApplyOptions>();
    addSurveyFile(command, o->path);
    addWholeNumber(command, "--kind", o->kind, 0, 65535, "K",
                   "the attribute: 0 report mark, 1 pipe radius, 2 error rate,\n"
                   "301 circle on frames 0..V, 302 on frames V..end")
        ->required();
    addWholeNumber(command, "--value", o->value, 0, 65535, "V", "its value")->required();
    const std::string last = std::to_string(PictureSize - 1);
    command
        .add_option("--circle", o->circle,
                    "the circle's centre in the picture, y counted downwards,\n"
                    "both from 0 to " +
                        last + " (the centre)")
        ->type_name("X,Y")
        ->check(CLI::Validator(
            [last](const std::string &text) {
                ScreenPoint point;
                return parseCircle(text, point) ? std::string()
                                                : "takes X,Y with both from 0 to " + last;
            },
            ""));
    addFrameOption(command, o->frame);
    return [o] { return runApply(*o); };
}

CommandAction addDeleteFrame(CLI::App &command)
{
    struct Options
    {
        std::string path;
        int frame = 0;
    };
    auto o = std::make_shared<Options>();
    addSurveyFile(command, o->path);
    addFrameOption(command, o->frame)->required();
    return [o] { return runDeleteFrame(o->path, o->frame); };
}

CommandAction addCopy(CLI::App &command)
{
    struct Options
    {
        std::string path;
        std::string destination;
    };
    auto o = std::make_shared<Options>();
    addSurveyFile(command, o->path);
    command.add_option("DEST", o->destination, "the new survey file")->type_name("")->required();
    return [o] { return runCopy(o->path, o->destination); };
}

} // namespace dorvane::cli
