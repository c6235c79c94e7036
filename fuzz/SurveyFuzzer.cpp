// An animation survey as it comes from a disk: opened through the document,
// every frame read and derived again, then the pictures and figures the
// window makes from it (sonar picture, deviation map, 3D model, report
// texts).
#include "FuzzInput.h"
#include "core/base/MessageSink.h"
#include "core/display/DeviationMap.h"
#include "core/display/DibBlock.h"
#include "core/display/SonarImage.h"
#include "core/document/AnimationDocument.h"
#include "core/export/BmpFile.h"
#include "core/export/ReportTexts.h"
#include "core/view3d/PipeMesh.h"

using namespace dorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static fuzz::ScratchFile input(".Imv");
    SilentMessageSink messages;
    AnimationDocument document(messages);
    if (!document.open(input.write(data, size), nullptr))
        return 0;

    SonarImage image;
    image.setPalette(0, 255, 256, false);
    for (int i = 0; i < document.frameCount(); ++i) {
        if (!document.loadFrame(i, true))
            break;
        document.deriveFrame(i);
        image.renderFrame(document.current().samples.data(), document.current().header.roll);
        (void)dibFromSonarImage(image);
    }
    (void)document.cableSpan();
    (void)document.averageSediment();
    (void)reportTexts(document);

    const auto profiles = document.derived().radiusProfiles();
    DeviationMap map(profiles);
    (void)map.mapBlock();
    PipeMesh mesh;
    mesh.build(profiles);
    return 0;
}
