#include "cli/draw/ViewOverlay.h"

#include "core/app/Settings.h"
#include "core/document/AnimationDocument.h"

namespace dorvane::cli {

FrameOverlay viewOverlay(const AnimationDocument &doc, const FrameRecord &frame, int index)
{
    FrameOverlay overlay;
    overlay.setFrame(&frame.header, &doc.fileHeader(), index, doc.frameCount());
    overlay.showTitle = settings().showTitle != 0;
    overlay.showNotes = settings().showNotes != 0;
    return overlay;
}

} // namespace dorvane::cli
