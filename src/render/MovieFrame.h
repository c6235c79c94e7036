#pragma once

#include "core/display/DibBlock.h"

#include <QImage>

namespace dorvane {

class FrameOverlay;
class SonarImage;

// The frame view's picture of one frame after another as the bitmaps a movie
// takes: the same drawing as framePicture(), as a bottom-up 32-bit bitmap.
// The picture and the bitmap are made once and reused for every frame.
class MovieFrame
{
public:
    // Pictures of size x size pixels; a size below 1 is taken as 1.
    explicit MovieFrame(int size);

    const DibBlock &draw(const SonarImage &image, const FrameOverlay &overlay, bool showTexts);
    const DibBlock &bitmap() const { return m_bitmap; }

private:
    void writeColours(const SonarImage &image);

    QImage m_picture;
    DibBlock m_bitmap;
};

} // namespace dorvane
