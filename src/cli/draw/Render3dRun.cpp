#include "cli/CommonOptions.h"
#include "cli/OpenSurvey.h"
#include "cli/draw/DrawRuns.h"
#include "core/app/TextIds.h"
#include "core/view3d/PipeMesh.h"
#include "render/PipeRenderer.h"

#include <memory>

namespace dorvane::cli {

int runRender3d(const Render3dOptions &o)
{
    requireOutputBesideSurvey(o.path, o.output);
    Session session;
    if (!session.openAtFrame(o.path, o.frame))
        return 1;
    const AnimationDocument &document = session.document;
    const auto profiles = document.derived().radiusProfiles();

    const std::unique_ptr<PipeRenderer> renderer = PipeRenderer::create(QSize(o.size, o.size));
    if (!renderer) {
        session.messages.showMessage(text::View3dInitFailed);
        return 1;
    }
    PipeMesh mesh;
    mesh.build(profiles, &session.progress);
    if (!renderer->setModel(mesh)) {
        session.messages.showMessage(text::View3dInitFailed);
        return 1;
    }
    // As the window shows it: the model built, the frame current, then the
    // viewpoint.
    PipeCamera &camera = renderer->camera();
    camera.modelBuilt();
    const int frame = document.currentIndex();
    renderer->setHighlight(frame);
    camera.followFrame(frame);
    camera.setViewpoint(o.viewpoint, renderer->modelLength());
    renderer->setSolid(!o.wireframe);
    if (!renderer->saveBmp(o.output)) {
        session.messages.showMessage(text::SaveBmpFailed);
        return 1;
    }
    return 0;
}

} // namespace dorvane::cli
