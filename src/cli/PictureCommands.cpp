#include "cli/Arguments.h"
#include "cli/Commands.h"
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

#include <QPainter>
#include <cstdio>
#include <memory>

namespace dorvane::cli {

namespace {

struct PaletteOptions
{
    int minLevel;
    int maxLevel;
    int colourCount;
    bool grey;
};

const std::set<std::string> PaletteValueOptions = {"--min", "--max", "--colours"};

// The graphics panel's ranges: minimum 0..254, maximum 1..255, 16..256 colours.
PaletteOptions paletteOptions(const Arguments &arguments)
{
    return {static_cast<int>(arguments.integer("--min", 0, 0, 254)),
            static_cast<int>(arguments.integer("--max", 255, 1, 255)),
            static_cast<int>(arguments.integer("--colours", 256, 16, 256)),
            arguments.flag("--grey")};
}

std::set<std::string> with(std::set<std::string> a, const std::set<std::string> &b)
{
    a.insert(b.begin(), b.end());
    return a;
}

} // namespace

namespace {

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

} // namespace

int runRender(const std::vector<std::string> &args)
{
    const Arguments arguments(args, with(PaletteValueOptions, {"--frame", "-o", "--size"}),
                              {"--grey", "--overlay", "--texts", "--stroke"});
    arguments.expectPositional(1);
    const PaletteOptions palette = paletteOptions(arguments);
    const std::string output = arguments.required("-o");
    const bool overlay = arguments.flag("--overlay");
    const bool stroke = arguments.flag("--stroke");
    if (overlay && stroke)
        throw UsageError{"--overlay and --stroke draw different views: choose one"};
    if (!overlay && arguments.flag("--texts"))
        throw UsageError{"--texts goes with --overlay"};
    if (!overlay && !stroke && arguments.value("--size"))
        throw UsageError{"--size goes with --overlay or --stroke"};
    const int size = static_cast<int>(arguments.integer("--size", PictureSize, 16, 4000));

    Session session;
    if (!session.open(arguments.positional()[0]))
        return 1;
    const int frame = session.frameIndex(arguments);
    auto record = std::make_unique<FrameRecord>();
    if (!session.document.readFrame(frame, *record)) {
        session.messages.showMessage(text::ReadFileDataError);
        return 1;
    }
    SonarImage image;
    image.setPalette(palette.minLevel, palette.maxLevel, palette.colourCount, palette.grey);
    image.renderFrame(record->samples.data(), record->header.roll);

    bool written = false;
    if (overlay || stroke) {
        const GuiSession gui;
        const QImage picture = stroke ? strokePicture(session.document, *record, frame, size)
                                      : viewPicture(image, session.document, *record, frame, size,
                                                    arguments.flag("--texts"));
        written = writeBmpFile(output, dibFromImage(picture));
    } else {
        written = writeBmpFile(output, dibFromSonarImage(image));
    }
    if (!written) {
        session.messages.showMessage(text::SaveBmpFailed);
        return 1;
    }
    return 0;
}

int runDeviationMap(const std::vector<std::string> &args)
{
    const Arguments arguments(args, {"-o"}, {});
    arguments.expectPositional(1);
    const std::string output = arguments.required("-o");
    Session session;
    if (!session.open(arguments.positional()[0]))
        return 1;
    if (!writeBmpFile(output,
                      DeviationMap(session.document.derived().radiusProfiles()).mapBlock())) {
        session.messages.showMessage(text::SaveBmpFailed);
        return 1;
    }
    return 0;
}

int runChart(const std::vector<std::string> &args)
{
    const Arguments arguments(args, {"-o", "--size"}, {});
    arguments.expectPositional(1);
    const std::string output = arguments.required("-o");
    int width = 450, height = 300;
    if (const auto size = arguments.value("--size")) {
        char tail = 0;
        if (std::sscanf(size->c_str(), "%dx%d%c", &width, &height, &tail) != 2 || width < 100 ||
            height < 100 || width > 8000 || height > 8000)
            throw UsageError{"option --size takes WxH, each from 100 to 8000"};
    }
    Session session;
    if (!session.open(arguments.positional()[0]))
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

int runPalette(const std::vector<std::string> &args)
{
    const Arguments arguments(args, PaletteValueOptions, {"--grey"});
    arguments.expectPositional(0);
    const PaletteOptions options = paletteOptions(arguments);
    for (const PaletteEntry &entry :
         buildPalette(options.minLevel, options.maxLevel, options.colourCount, options.grey))
        std::printf("%06X\n", entry.rgb());
    return 0;
}

} // namespace dorvane::cli
