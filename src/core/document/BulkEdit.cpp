#include "core/document/BulkEdit.h"

namespace dorvane {

void applyBulkEdit(const BulkEdit &edit, int index, int frameCount, FrameHeader &header)
{
    const auto setCircle = [&] {
        header.circleX = static_cast<uint16_t>(edit.circle.x);
        header.circleY = static_cast<uint16_t>(edit.circle.y);
        header.circleOn = 1;
        header.pipeRadius = edit.currentPipeRadius;
    };
    switch (edit.kind) {
    case BulkEditKind::ReportShot:
        header.reportShot = edit.value != 0 ? 1 : 0;
        break;
    case BulkEditKind::PipeRadius:
        header.pipeRadius = static_cast<uint16_t>(edit.value);
        break;
    case BulkEditKind::ErrorRate:
        header.errorRate = static_cast<uint16_t>(edit.value);
        break;
    case BulkEditKind::CircleUpTo:
        if (index <= edit.value)
            setCircle();
        break;
    case BulkEditKind::CircleFrom:
        if (index >= edit.value && index < frameCount)
            setCircle();
        break;
    }
}

} // namespace dorvane
