#include "cli/Commands.h"
#include "cli/CommonOptions.h"
#include "cli/GuiSession.h"
#include "cli/OpenSurvey.h"
#include "cli/ViewOverlay.h"
#include "core/app/TextIds.h"
#include "core/display/DeviationMap.h"
#include "core/display/DibBlock.h"
#include "core/display/PictureGeometry.h"
#include "core/display/SonarImage.h"
#include "core/export/BmpFile.h"
#include "render/FrameOverlay.h"
#include "render/FramePicture.h"
#include "render/ImageDib.h"
#include "render/SedimentChartPicture.h"
#include "render/StrokePicture.h"

#include <CLI/App.hpp>
#include <CLI/Validators.hpp>
#include <QPainter>
#include <cstdio>
#include <memory>

namespace dorvane::cli {

namespace {

struct PaletteOptions
{
    int minLevel = 0;
    int maxLevel = 255;
    int colourCount = 256;
    bool grey = false;
};

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

// The frame as the frame view draws it: the picture stretched to size with
// the overlay over it.
QImage viewPicture(const SonarImage &image, const AnimationDocument &doc, const FrameRecord &frame,
                   int index, int size, bool showTexts)
{
    return framePicture(image, viewOverlay(doc, frame, index), size, showTexts);
}

// The frame as the stroke view draws it: its wall profile against the
// tolerance band, with the sediment depth label.
QImage strokePicture(const AnimationDocument &doc, const FrameRecord &frame, int index, int size)
{
    const DerivedFrames &derived = doc.derived();
    FrameOverlay overlay = viewOverlay(doc, frame, index);
    overlay.averageSediment = doc.averageSediment();
    overlay.sedimentDepthMm = derived.sedimentDepth()[static_cast<size_t>(index)];
    overlay.bottomLabelMode = true;
    overlay.gridColour = QColor(255, 200, 255);
    QImage picture(size, size, QImage::Format_RGB32);
    QPainter painter(&picture);
    drawStrokePicture(painter, picture.rect(),
                      makeStrokeProfile(frame.header, derived.peakPixels(index)), overlay);
    return picture;
}

struct RenderOptions
{
    std::string path;
    std::string output;
    int frame = 0;
    PaletteOptions palette;
    bool overlay = false;
    bool texts = false;
    bool stroke = false;
    int size = PictureSize;
};

int runRender(const RenderOptions &o)
{
    requireOutputBesideSurvey(o.path, o.output);
    Session session;
    if (!session.open(o.path))
        return 1;
    const int frame = session.frameIndex(o.frame);
    auto record = std::make_unique<FrameRecord>();
    if (!session.document.readFrame(frame, *record)) {
        session.messages.showMessage(text::ReadFileDataError);
        return 1;
    }
    SonarImage image;
    image.setPalette(o.palette.minLevel, o.palette.maxLevel, o.palette.colourCount, o.palette.grey);
    image.renderFrame(record->samples.data(), record->header.roll);

    bool written = false;
    if (o.overlay || o.stroke) {
        const GuiSession gui;
        const QImage picture =
            o.stroke ? strokePicture(session.document, *record, frame, o.size)
                     : viewPicture(image, session.document, *record, frame, o.size, o.texts);
        written = writeBmpFile(o.output, dibFromImage(picture));
    } else {
        written = writeBmpFile(o.output, dibFromSonarImage(image));
    }
    if (!written) {
        session.messages.showMessage(text::SaveBmpFailed);
        return 1;
    }
    return 0;
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

int runChart(const std::string &path, const std::string &output, const std::string &size)
{
    requireOutputBesideSurvey(path, output);
    int width = 450, height = 300;
    if (!size.empty())
        parseChartSize(size, width, height);
    Session session;
    if (!session.open(path))
        return 1;
    const AnimationDocument &doc = session.document;
    FrameHeader first;
    doc.readFrameHeader(0, first);

    const GuiSession gui;
    QImage picture(width, height, QImage::Format_RGB32);
    QPainter painter(&picture);
    SedimentChart(doc.derived().cableLengths(), doc.derived().sedimentDepth(), first.pipeRadius)
        .draw(painter, picture.rect());
    painter.end();
    if (!writeBmpFile(output, dibFromImage(picture))) {
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
    return [o] { return runRender(*o); };
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
    return [o] { return runChart(o->path, o->output, o->size); };
}

CommandAction addPalette(CLI::App &command)
{
    auto o = std::make_shared<PaletteOptions>();
    addPaletteOptions(command, *o);
    return [o] { return runPalette(*o); };
}

} // namespace dorvane::cli
