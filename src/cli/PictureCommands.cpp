#include "Arguments.h"
#include "Commands.h"
#include "OpenSurvey.h"
#include "app/TextIds.h"
#include "display/SonarImage.h"
#include "export/BmpFile.h"
#include "export/DibBlock.h"
#include "render/FrameOverlay.h"
#include "render/FramePicture.h"
#include "render/ImageDib.h"

#include <QGuiApplication>
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
// the overlay over it, as a 24-bit bitmap.
bool writeViewPicture(const std::string &output, const SonarImage &image,
                      const AnimationDocument &doc, const FrameRecord &frame, int index, int size,
                      bool showTexts)
{
    // Text needs a GUI application; the batch tool has no display, and its
    // stderr is for the survey's messages, not for Qt's notes.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    int argc = 1;
    char name[] = "tessiq-cli";
    char *argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    FrameOverlay overlay;
    overlay.setFrame(&frame.header, &doc.fileHeader(), index, doc.frameCount());
    return writeBmpFile(output, dibFromImage(framePicture(image, overlay, size, showTexts)));
}

} // namespace

int runRender(const std::vector<std::string> &args)
{
    const Arguments arguments(args, with(PaletteValueOptions, {"--frame", "-o", "--size"}),
                              {"--grey", "--overlay", "--texts"});
    arguments.expectPositional(1);
    const PaletteOptions palette = paletteOptions(arguments);
    const std::string output = arguments.required("-o");
    const bool overlay = arguments.flag("--overlay");
    if (!overlay && (arguments.flag("--texts") || arguments.value("--size")))
        throw UsageError{"--texts and --size go with --overlay"};
    const int size = static_cast<int>(arguments.integer("--size", 500, 16, 4000));

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
    const bool written = overlay ? writeViewPicture(output, image, session.document, *record, frame,
                                                    size, arguments.flag("--texts"))
                                 : writeBmpFile(output, dibFromSonarImage(image));
    if (!written) {
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
