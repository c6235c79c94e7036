#include "render/ReportPictures.h"

#include "core/app/Settings.h"
#include "core/app/TextIds.h"
#include "core/base/MessageSink.h"
#include "core/base/ProgressSink.h"
#include "core/display/DeviationMap.h"
#include "core/display/DibBlock.h"
#include "core/display/SonarImage.h"
#include "core/document/AnimationDocument.h"
#include "core/export/BmpFile.h"
#include "core/view3d/PipeMesh.h"
#include "render/FrameOverlay.h"
#include "render/FramePicture.h"
#include "render/ImageDib.h"
#include "render/PipeRenderer.h"
#include "render/SedimentChartPicture.h"

#include <QImage>
#include <QPainter>
#include <array>
#include <memory>

namespace dorvane {

namespace {

constexpr int ChartWidth = 450;
constexpr int ChartHeight = 300;
constexpr int PictureSide = 500;
// Pictures 1..4, in this order.
constexpr std::array<int, 4> Viewpoints = {PipeCamera::Centre, PipeCamera::Outside,
                                           PipeCamera::Inside, PipeCamera::Far};

void post(ProgressSink *progress, int done)
{
    if (progress)
        progress->postProgress(done, 100);
}

std::string pictureName(const std::string &folder, int number)
{
    const bool separated = !folder.empty() && folder.back() == '/';
    return folder + (separated ? "" : "/") + std::to_string(number);
}

bool saveChart(const AnimationDocument &document, const std::string &path)
{
    const DerivedFrames &derived = document.derived();
    QImage picture(ChartWidth, ChartHeight, QImage::Format_RGB32);
    QPainter painter(&picture);
    SedimentChart(derived.cableLengths(), derived.sedimentDepth(),
                  document.current().header.pipeRadius)
        .draw(painter, picture.rect());
    painter.end();
    return writeBmpFile(path, dibFromImage(picture));
}

enum class PipeResult
{
    Saved,
    NoOpenGl,
    SaveFailed
};

// The model as the 3D page builds it, at frame 0, from each viewpoint as its
// button sets it.
PipeResult saveViewpoints(PipeRenderer *renderer, const std::string &folder,
                          ProgressSink *progress);

PipeResult savePipeViews(const AnimationDocument &document, const std::string &folder,
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
        const PipeResult result = saveViewpoints(shared, folder, progress);
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
    if (!mesh.build(profiles, nullptr) ||
        !renderer->setModel(mesh, DeviationMap(profiles).mapBlock().bytes()))
        return PipeResult::NoOpenGl;
    renderer->camera().modelBuilt();
    return saveViewpoints(renderer.get(), folder, progress);
}

PipeResult saveViewpoints(PipeRenderer *renderer, const std::string &folder, ProgressSink *progress)
{
    PipeCamera &camera = renderer->camera();
    renderer->setHighlight(0);
    camera.followFrame(0);
    for (size_t k = 0; k < Viewpoints.size(); ++k) {
        camera.setViewpoint(Viewpoints[k], renderer->modelLength());
        // The far viewpoint's button also fixes the camera.
        camera.setFixed(Viewpoints[k] == PipeCamera::Far);
        if (!renderer->saveBmp(pictureName(folder, static_cast<int>(k) + 1)))
            return PipeResult::SaveFailed;
        if (k < 3)
            post(progress, static_cast<int>(k) + 1);
    }
    return PipeResult::Saved;
}

} // namespace

int buildReportPictures(const AnimationDocument &document, const std::string &folder,
                        ProgressSink *progress, MessageSink &messages, PipeRenderer *renderer)
{
    if (!saveChart(document, pictureName(folder, 0))) {
        messages.showMessage(text::SaveBmpFailed);
        return -1;
    }
    switch (savePipeViews(document, folder, progress, renderer)) {
    case PipeResult::Saved:
        break;
    case PipeResult::NoOpenGl:
        messages.showMessage(text::View3dInitFailed);
        return -1;
    case PipeResult::SaveFailed:
        return -1;
    }
    post(progress, 4);

    const int count = document.frameCount();
    const std::vector<uint8_t> &marked = document.derived().reportFlags();
    const Settings &shown = settings();
    auto frame = std::make_unique<FrameRecord>();
    SonarImage image;
    int last = 4;
    for (int i = 0; i < count; ++i) {
        if (static_cast<size_t>(i) < marked.size() && marked[static_cast<size_t>(i)]) {
            if (!document.readFrame(i, *frame)) {
                messages.showMessage(text::ReadFileDataError);
                return -1;
            }
            image.renderFrame(frame->samples.data(), frame->header.roll);
            FrameOverlay overlay;
            overlay.setFrame(&frame->header, &document.fileHeader(), i, count);
            overlay.showTitle = shown.showTitle != 0;
            overlay.showNotes = shown.showNotes != 0;
            ++last;
            if (!writeBmpFile(pictureName(folder, last),
                              dibFromImage(framePicture(image, overlay, PictureSide, true)))) {
                messages.showMessage(text::SaveBmpFailed);
                return -1;
            }
        }
        post(progress, 4 + 6 * i / count);
    }
    return last + 1;
}

} // namespace dorvane
