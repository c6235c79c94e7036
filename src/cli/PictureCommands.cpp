#include "cli/Commands.h"
#include "cli/CommonOptions.h"
#include "cli/DrawCommands.h"
#include "cli/OpenSurvey.h"
#include "core/app/TextIds.h"
#include "core/display/DeviationMap.h"
#include "core/display/DibBlock.h"
#include "core/export/BmpFile.h"

#include <CLI/App.hpp>
#include <CLI/Validators.hpp>
#include <cstdio>
#include <memory>

namespace dorvane::cli {

namespace {

// The graphics panel's ranges: minimum 0..254, maximum 1..255, 16..256 colours.
void addPaletteOptions(CLI::App &command, PaletteOptions &o)
{
    addWholeNumber(command, "--min", o.minLevel, 0, 254, "L",
                   "the lowest level of the colour scale (0)");
    addWholeNumber(command, "--max", o.maxLevel, 1, 255, "H",
                   "the highest level of the colour scale (255)");
    addWholeNumber(command, "--colours", o.colourCount, 16, 256, "C",
                   "the number of colours (256)");
    command.add_flag("--grey", o.grey, "grey levels instead of colours");
}

// "WxH", each from 100 to 8000.
bool parseChartSize(const std::string &text, int &width, int &height)
{
    char tail = 0;
    return std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &tail) == 2 && width >= 100 &&
           height >= 100 && width <= 8000 && height <= 8000;
}

int runDeviationMap(const std::string &path, const std::string &output)
{
    requireOutputBesideSurvey(path, output);
    Session session;
    if (!session.open(path))
        return 1;
    if (!writeBmpFile(output,
                      DeviationMap(session.document.derived().radiusProfiles()).mapBlock())) {
        session.messages.showMessage(text::SaveBmpFailed);
        return 1;
    }
    return 0;
}

int runPalette(const PaletteOptions &o)
{
    for (const PaletteEntry &entry : buildPalette(o.minLevel, o.maxLevel, o.colourCount, o.grey))
        std::printf("%06X\n", entry.rgb());
    return 0;
}

} // namespace

CommandAction addRender(CLI::App &command)
{
    auto o = std::make_shared<RenderOptions>();
    addSurveyFile(command, o->path);
    addFrameOption(command, o->frame);
    addOutputOption(command, o->output, "OUT.bmp");
    addPaletteOptions(command, o->palette);
    auto *overlay = command.add_flag("--overlay", o->overlay,
                                     "the frame as the frame view shows it, with its\n"
                                     "overlay, as a 24-bit BMP of N x N");
    command.add_flag("--texts", o->texts, "with --overlay: the title and notes too")
        ->needs(overlay);
    command
        .add_flag("--stroke", o->stroke,
                  "the frame as the stroke view shows it, as a 24-bit\nBMP of N x N")
        ->excludes(overlay);
    addWholeNumber(command, "--size", o->size, 16, 4000, "N",
                   "with --overlay or --stroke: the picture's size (500)");
    // --size draws a view: a plain sonar picture is always 500 x 500.
    command.callback([&command] {
        if (command.count("--size") && !command.count("--overlay") && !command.count("--stroke"))
            throw CLI::ValidationError("--size goes with --overlay or --stroke");
    });
    return [o] {
        const DrawCommands *draw = drawCommands();
        return draw ? draw->render(*o) : 1;
    };
}

CommandAction addDeviationMap(CLI::App &command)
{
    struct Options
    {
        std::string path;
        std::string output;
    };
    auto o = std::make_shared<Options>();
    addSurveyFile(command, o->path);
    addOutputOption(command, o->output, "OUT.bmp");
    return [o] { return runDeviationMap(o->path, o->output); };
}

CommandAction addChart(CLI::App &command)
{
    struct Options
    {
        std::string path;
        std::string output;
        std::string size;
    };
    auto o = std::make_shared<Options>();
    addSurveyFile(command, o->path);
    addOutputOption(command, o->output, "OUT.bmp");
    command.add_option("--size", o->size, "the chart's size, each from 100 to 8000 (450x300)")
        ->type_name("WxH")
        ->check(CLI::Validator(
            [](const std::string &text) {
                int width = 0, height = 0;
                return parseChartSize(text, width, height)
                           ? std::string()
                           : std::string("takes WxH, each from 100 to 8000");
            },
            ""));
    return [o] {
        ChartOptions chart{o->path, o->output};
        if (!o->size.empty())
            parseChartSize(o->size, chart.width, chart.height);
        const DrawCommands *draw = drawCommands();
        return draw ? draw->chart(chart) : 1;
    };
}

CommandAction addPalette(CLI::App &command)
{
    auto o = std::make_shared<PaletteOptions>();
    addPaletteOptions(command, *o);
    return [o] { return runPalette(*o); };
}

} // namespace dorvane::cli
