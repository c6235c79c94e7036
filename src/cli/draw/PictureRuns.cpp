#include "cli/CommonOptions.h"
#include "cli/OpenSurvey.h"
#include "cli/draw/DrawRuns.h"
#include "cli/draw/GuiSession.h"
#include "cli/draw/ViewOverlay.h"
#include "core/app/TextIds.h"
#include "core/display/DibBlock.h"
#include "core/display/SonarImage.h"
#include "core/export/BmpFile.h"
#include "render/FrameOverlay.h"
#include "render/FramePicture.h"
#include "render/ImageDib.h"
#include "render/SedimentChartPicture.h"
#include "render/StrokePicture.h"

#include <QPainter>
#include <memory>

namespace dorvane::cli {

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

int runChart(const ChartOptions &o)
{
    requireOutputBesideSurvey(o.path, o.output);
    Session session;
    if (!session.open(o.path))
        return 1;
    const DerivedFrames &derived = session.document.derived();

    const GuiSession gui;
    QImage picture(o.width, o.height, QImage::Format_RGB32);
    QPainter painter(&picture);
    SedimentChart(derived.cableLengths(), derived.sedimentDepth(), derived.chartPipeRadius())
        .draw(painter, picture.rect());
    painter.end();
    if (!writeBmpFile(o.output, dibFromImage(picture))) {
        session.messages.showMessage(text::SaveBmpFailed);
        return 1;
    }
    return 0;
}

} // namespace dorvane::cli
