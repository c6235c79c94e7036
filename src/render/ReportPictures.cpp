#include "render/ReportPictures.h"

#include "core/app/Settings.h"
#include "core/app/TextIds.h"
#include "core/app/TextService.h"
#include "core/base/MessageSink.h"
#include "core/base/ProgressSink.h"
#include "core/display/DeviationMap.h"
#include "core/display/DibBlock.h"
#include "core/display/SonarImage.h"
#include "core/document/AnimationDocument.h"
#include "core/export/ReportContent.h"
#include "core/view3d/PipeMesh.h"
#include "render/AssessmentChartPicture.h"
#include "render/FrameOverlay.h"
#include "render/FramePicture.h"
#include "render/PipeRenderer.h"
#include "render/SedimentChartPicture.h"

#include <QImage>
#include <QPainter>
#include <QString>
#include <array>
#include <cstring>
#include <memory>

namespace dorvane {

namespace {

constexpr int ChartWidth = 450;
constexpr int ChartHeight = 300;
constexpr int PictureSide = 500;
// The 3D views in the order of the report.
constexpr std::array<int, 4> Viewpoints = {PipeCamera::Centre, PipeCamera::Outside,
                                           PipeCamera::Inside, PipeCamera::Far};

void post(ProgressSink *progress, int done)
{
    if (progress)
        progress->postProgress(done, 100);
}

RgbPicture rgbPicture(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    RgbPicture picture;
    picture.width = rgb.width();
    picture.height = rgb.height();
    const auto stride = static_cast<size_t>(picture.width) * 3;
    picture.pixels.resize(stride * static_cast<size_t>(picture.height));
    // Qt pads its rows to 4 bytes.
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(picture.pixels.data() + stride * static_cast<size_t>(y), rgb.constScanLine(y),
                    stride);
    return picture;
}

// "Frame 12, cable 3.45 m", the frame counted from 1 as its counter is.
std::string caption(int frame, float cableLength)
{
    return QString::fromStdString(loadText(text::ReportFrameCaption))
        .arg(frame + 1)
        .arg(static_cast<double>(cableLength), 0, 'f', 2)
        .toStdString();
}

RgbPicture chartPicture(const AnimationDocument &document)
{
    const DerivedFrames &derived = document.derived();
    QImage picture(ChartWidth, ChartHeight, QImage::Format_RGB32);
    QPainter painter(&picture);
    SedimentChart(derived.cableLengths(), derived.sedimentDepth(), derived.chartPipeRadius())
        .draw(painter, picture.rect());
    painter.end();
    return rgbPicture(picture);
}

enum class PipeResult
{
    Drawn,
    NoOpenGl,
    RenderFailed
};

// The model as the 3D page builds it, at frame 0, from each viewpoint as its
// button sets it.
PipeResult drawViewpoints(PipeRenderer *renderer, ReportContent::PipeViews &views,
                          ProgressSink *progress);

PipeResult drawPipeViews(const AnimationDocument &document, ReportContent::PipeViews &views,
                         ProgressSink *progress, PipeRenderer *shared)
{
    const QSize side(PictureSide, PictureSide);
    if (shared && shared->hasModel() && shared->frameCount() == document.frameCount() &&
        shared->size() == side) {
        // The 3D page's own renderer, with the camera of a fresh model, and
        // left as it was found.
        const PipeCamera camera = shared->camera();
        const int highlight = shared->highlight();
        const bool solid = shared->isSolid();
        shared->camera() = PipeCamera();
        shared->camera().setWindowSize(PictureSide, PictureSide);
        shared->camera().modelBuilt();
        shared->setSolid(true);
        const PipeResult result = drawViewpoints(shared, views, progress);
        shared->camera() = camera;
        shared->setHighlight(highlight);
        shared->setSolid(solid);
        return result;
    }
    const std::unique_ptr<PipeRenderer> renderer = PipeRenderer::create(side);
    if (!renderer)
        return PipeResult::NoOpenGl;
    const auto profiles = document.derived().radiusProfiles();
    PipeMesh mesh;
    // No progress of its own: the report's runs from 0 to 100 throughout.
    if (!mesh.build(profiles, nullptr) || !renderer->setModel(mesh))
        return PipeResult::NoOpenGl;
    renderer->camera().modelBuilt();
    return drawViewpoints(renderer.get(), views, progress);
}

PipeResult drawViewpoints(PipeRenderer *renderer, ReportContent::PipeViews &views,
                          ProgressSink *progress)
{
    const std::array<RgbPicture *, 4> pictures = {&views.centre, &views.outside, &views.inside,
                                                  &views.far};
    PipeCamera &camera = renderer->camera();
    renderer->setHighlight(0);
    camera.followFrame(0);
    for (size_t k = 0; k < Viewpoints.size(); ++k) {
        camera.setViewpoint(Viewpoints[k], renderer->modelLength());
        // The far viewpoint's button also fixes the camera.
        camera.setFixed(Viewpoints[k] == PipeCamera::Far);
        if (!renderer->render())
            return PipeResult::RenderFailed;
        *pictures[k] = rgbPicture(renderer->picture());
        if (k < 3)
            post(progress, static_cast<int>(k) + 1);
    }
    return PipeResult::Drawn;
}

} // namespace

bool buildReportPictures(const AnimationDocument &document, ReportContent &content,
                         ProgressSink *progress, MessageSink &messages, PipeRenderer *renderer,
                         const FrameViewLook &look)
{
    content.chart = chartPicture(document);
    switch (drawPipeViews(document, content.pipeViews, progress, renderer)) {
    case PipeResult::Drawn:
        break;
    case PipeResult::NoOpenGl:
        messages.showMessage(text::View3dInitFailed);
        return false;
    case PipeResult::RenderFailed:
        return false;
    }
    post(progress, 4);

    const int count = document.frameCount();
    const std::vector<uint8_t> &marked = document.derived().reportFlags();
    const Settings &shown = settings();
    auto frame = std::make_unique<FrameRecord>();
    SonarImage image;
    image.setPalette(look.minLevel, look.maxLevel, look.colourCount, look.grey);
    content.frames.clear();
    content.noFrames = loadText(text::NoReportFrames);
    for (int i = 0; i < count; ++i) {
        if (static_cast<size_t>(i) < marked.size() && marked[static_cast<size_t>(i)]) {
            if (!document.readFrame(i, *frame)) {
                messages.showMessage(text::ReadFileDataError);
                return false;
            }
            image.renderFrame(frame->samples.data(), frame->header.roll);
            FrameOverlay overlay;
            overlay.setFrame(&frame->header, &document.fileHeader(), i, count);
            overlay.showTitle = shown.showTitle != 0;
            overlay.showNotes = shown.showNotes != 0;
            overlay.showGrid = look.showGrid;
            content.frames.push_back({rgbPicture(framePicture(image, overlay, PictureSide, true)),
                                      caption(i, frame->header.cableLength)});
        }
        post(progress, 4 + 6 * i / count);
    }
    return true;
}

RgbPicture assessmentChartPicture(const ConditionAssessment &assessment,
                                  const std::vector<float> &cableLengths,
                                  const GradingTable &grades, bool english)
{
    return rgbPicture(
        drawAssessmentChart(assessment, cableLengths, grades, QSize(960, 400), -1, english));
}

} // namespace dorvane
