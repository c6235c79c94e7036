#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/GuiSession.h"
#include "cli/OpenSurvey.h"
#include "cli/ViewOverlay.h"
#include "core/app/TextIds.h"
#include "core/app/TextService.h"
#include "core/base/ProgressSink.h"
#include "core/display/PictureGeometry.h"
#include "core/display/SonarImage.h"
#include "core/export/AviMovieWriter.h"
#include "render/MovieFrame.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace dorvane::cli {

namespace {

// Message 189 ends in a line break; the writer's own text follows it.
void showWriterError(const AviMovieWriter &writer)
{
    std::string text = loadText(text::AviError);
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.erase(at, 1);
    std::fprintf(stderr, "%s%s\n", text.c_str(), writer.lastError().c_str());
}

bool sameFile(const std::string &a, const std::string &b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

} // namespace

int runVideo(const std::vector<std::string> &args)
{
    const Arguments arguments(args, {"-o", "--size", "--fps"}, {"--texts"});
    arguments.expectPositional(1);
    const std::string &input = arguments.positional()[0];
    const std::string output = arguments.required("-o");
    const int size = static_cast<int>(arguments.integer("--size", PictureSize, 16, 4000));
    const int fps = static_cast<int>(arguments.integer("--fps", 4, 1, 1000));
    const bool showTexts = arguments.flag("--texts");
    if (sameFile(input, output))
        throw UsageError{"the movie would replace the survey: choose another output"};

    Session session;
    if (!session.open(input))
        return 1;
    AnimationDocument &doc = session.document;
    const int count = doc.frameCount();

    const GuiSession gui;
    // The frame view's colours: the full scale of 256 colours.
    SonarImage image;
    image.setPalette(0, 255, 256, false);
    MovieFrame frame(size);
    AviMovieWriter writer(output, fourCharacterCode("Xvid"), fps);

    ProgressScope progress(&session.progress, count);
    progress.setText(text::ExportingVideo);
    bool complete = true;
    for (int i = 0; i < count; ++i) {
        // A frame that cannot be read ends the movie there; the document
        // has said why.
        if (!doc.loadFrame(i, true)) {
            complete = false;
            break;
        }
        const FrameRecord &record = doc.current();
        image.renderFrame(record.samples.data(), record.header.roll);
        const DibBlock &bitmap = frame.draw(image, viewOverlay(doc, record, i), showTexts);
        if (writer.appendFrame(bitmap) != AviMovieWriter::Succeeded) {
            showWriterError(writer);
            return 1;
        }
        progress.step(i, count);
    }
    if (!writer.release()) {
        showWriterError(writer);
        return 1;
    }
    progress.complete();
    return complete ? 0 : 1;
}

} // namespace dorvane::cli
