#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/GuiSession.h"
#include "cli/OpenSurvey.h"
#include "core/app/TextIds.h"
#include "core/display/DeviationMap.h"
#include "core/display/DibBlock.h"
#include "core/view3d/PipeMesh.h"
#include "render/PipeRenderer.h"

#include <cstdio>
#include <cstdlib>

namespace dorvane::cli {

int runRender3d(const std::vector<std::string> &args)
{
    const Arguments arguments(args, {"-o", "--viewpoint", "--frame", "--size"}, {"--wireframe"});
    arguments.expectPositional(1);
    const std::string output = arguments.required("-o");
    if (!arguments.value("--viewpoint"))
        throw UsageError{"option --viewpoint is required"};
    const int viewpoint = static_cast<int>(arguments.integer("--viewpoint", 3, 0, 3));
    const int size = static_cast<int>(arguments.integer("--size", 500, 16, 4096));

    Session session;
    if (!session.openAtFrame(arguments.positional()[0], arguments))
        return 1;
    const AnimationDocument &document = session.document;
    const auto profiles = document.derived().radiusProfiles();

    GuiSession gui;
    const std::unique_ptr<PipeRenderer> renderer = PipeRenderer::create(QSize(size, size));
    if (!renderer) {
        session.messages.showMessage(text::View3dInitFailed);
        if (!std::getenv("DISPLAY"))
            std::fputs("tessiq-cli render3d: no display for OpenGL; run it under xvfb-run\n",
                       stderr);
        return 1;
    }
    PipeMesh mesh;
    mesh.build(profiles, &session.progress);
    const DibBlock map = DeviationMap(profiles).mapBlock();
    if (!renderer->setModel(mesh, map.bytes())) {
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
    camera.setViewpoint(viewpoint, renderer->modelLength());
    renderer->setSolid(!arguments.flag("--wireframe"));
    if (!renderer->saveBmp(output)) {
        session.messages.showMessage(text::SaveBmpFailed);
        return 1;
    }
    return 0;
}

} // namespace dorvane::cli
