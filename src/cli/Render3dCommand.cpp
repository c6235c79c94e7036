#include "cli/Commands.h"
#include "cli/CommonOptions.h"
#include "cli/OpenSurvey.h"
#include "core/app/TextIds.h"
#include "core/display/DeviationMap.h"
#include "core/display/DibBlock.h"
#include "core/view3d/PipeMesh.h"
#include "render/PipeRenderer.h"

#include <CLI/App.hpp>
#include <memory>

namespace dorvane::cli {

namespace {

struct Render3dOptions
{
    std::string path;
    std::string output;
    int viewpoint = 3;
    int frame = 0;
    int size = 500;
    bool wireframe = false;
};

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

} // namespace

CommandAction addRender3d(CLI::App &command)
{
    auto o = std::make_shared<Render3dOptions>();
    addSurveyFile(command, o->path);
    addWholeNumber(command, "--viewpoint", o->viewpoint, 0, 3, "K",
                   "0 outside, 1 inside, 2 far, 3 centre")
        ->required();
    addOutputOption(command, o->output, "OUT.bmp");
    addFrameOption(command, o->frame)->description("the frame whose band is highlighted (0)");
    addWholeNumber(command, "--size", o->size, 16, 4096, "N", "the picture's size (500)");
    command.add_flag("--wireframe", o->wireframe, "the model's wire frame instead of its faces");
    return [o] { return runRender3d(*o); };
}

} // namespace dorvane::cli
