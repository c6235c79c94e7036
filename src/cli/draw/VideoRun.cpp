#include "cli/CommonOptions.h"
#include "cli/OpenSurvey.h"
#include "cli/draw/DrawRuns.h"
#include "cli/draw/GuiSession.h"
#include "cli/draw/ViewOverlay.h"
#include "core/app/TextIds.h"
#include "core/base/ProgressSink.h"
#include "core/display/SonarImage.h"
#include "core/export/AviMovieWriter.h"
#include "render/MovieFrame.h"

namespace dorvane::cli {

int runVideo(const VideoOptions &o)
{
    requireOutputBesideSurvey(o.input, o.output);

    Session session;
    if (!session.open(o.input))
        return 1;
    AnimationDocument &doc = session.document;
    const int count = doc.frameCount();

    const GuiSession gui;
    // The frame view's colours: the full scale of 256 colours.
    SonarImage image;
    image.setPalette(0, 255, 256, false);
    MovieFrame frame(o.size);
    AviMovieWriter writer(o.output, fourCharacterCode("Xvid"), o.fps);

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
        const QImage &picture = frame.draw(image, viewOverlay(doc, record, i), o.showTexts);
        if (appendPicture(writer, picture) != AviMovieWriter::Succeeded) {
            session.messages.showMessage(text::AviError, writer.lastError());
            return 1;
        }
        progress.step(i, count);
    }
    if (!writer.release()) {
        session.messages.showMessage(text::AviError, writer.lastError());
        return 1;
    }
    progress.complete();
    return complete ? 0 : 1;
}

} // namespace dorvane::cli
