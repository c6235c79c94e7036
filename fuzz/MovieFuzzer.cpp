// The movie export's inputs come from the survey file: each frame's picture
// is encoded into an AVI movie, which is then completed.
#include "FuzzInput.h"
#include "core/base/MessageSink.h"
#include "core/display/DibBlock.h"
#include "core/display/SonarImage.h"
#include "core/document/AnimationDocument.h"
#include "core/export/AviMovieWriter.h"
#include "core/export/BmpFile.h"

using namespace dorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static fuzz::ScratchFile input(".Imv");
    static fuzz::ScratchFolder output;
    SilentMessageSink messages;
    AnimationDocument document(messages);
    if (!document.open(input.write(data, size), nullptr))
        return 0;

    SonarImage image;
    image.setPalette(0, 255, 256, false);
    AviMovieWriter writer(output.file("movie.avi"), fourCharacterCode("Xvid"), 4);
    for (int i = 0; i < document.frameCount() && i < 3; ++i) {
        if (!document.loadFrame(i, true))
            break;
        image.renderFrame(document.current().samples.data(), document.current().header.roll);
        if (writer.appendFrame(dibFromSonarImage(image)) != AviMovieWriter::Succeeded)
            return 0;
    }
    writer.release();
    return 0;
}
