// A probe image file (*.img): read as a frame, appended to a survey as the
// import does, and opened as a survey of its own.
#include "FuzzInput.h"
#include "core/base/MessageSink.h"
#include "core/base/PosixFile.h"
#include "core/data/FrameRecord.h"
#include "core/data/ImgFile.h"
#include "core/document/AnimationDocument.h"

#include <memory>

using namespace dorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static fuzz::ScratchFile input(".img");
    static fuzz::ScratchFolder output;
    const std::string &path = input.write(data, size);

    auto record = std::make_unique<FrameRecord>();
    (void)readImgFrame(path, *record);

    SilentMessageSink messages;
    PosixFile out;
    if (out.open(output.file("import.Imv"), PosixFile::Mode::Create))
        (void)appendImgFrame(path, out, messages);

    AnimationDocument document(messages);
    if (document.open(path, nullptr) && document.frameCount() > 0)
        document.loadFrame(0, true);
    return 0;
}
