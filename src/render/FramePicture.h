#pragma once

#include <QImage>
#include <QRect>

class QPainter;

namespace dorvane {

class FrameOverlay;
class SonarImage;

// A frame as the operator sees it: the sonar picture stretched onto rect with
// the overlay on top, its origin at rect's top-left and as wide as rect. An
// image with no frame rendered fills rect with black and gets no overlay.
// The frame view, the exports and the batch tool all draw through here.
void drawFramePicture(QPainter &painter, const QRect &rect, const SonarImage &image,
                      const FrameOverlay &overlay, bool showTexts);

// The same drawing as a size x size RGB32 picture; a null image for a size
// below 1.
QImage framePicture(const SonarImage &image, const FrameOverlay &overlay, int size, bool showTexts);

} // namespace dorvane
