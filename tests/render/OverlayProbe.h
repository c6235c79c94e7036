#pragma once

#include "core/data/FrameHeader.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <gtest/gtest.h>
#include <vector>

namespace dorvane {
class FrameOverlay;
}

namespace dorvane::test {

constexpr QRgb White = 0xFFFFFFFF;

// A black size x size picture with the overlay drawn on it.
QImage drawOverlay(const FrameOverlay &overlay, int size = 500, bool showTexts = true);

// A header that passes the consistency test: detection radius 1000 mm, pipe
// radius 300 mm, cable 12.5 m, level attitude, nothing switched on.
FrameHeader consistentHeader();

// Overlay texts and lines are white and the grid colours have no or full
// red, so counting pixels whose red channel is above half separates texts
// and white lines from the default cyan grid and the black background.
int brightCount(const QImage &image, const QRect &area);
bool anyPixel(const QImage &image, const QRect &area, QRgb colour);

// A text as the overlay should draw it: its rectangle, Qt alignment flags and
// the exact string.
struct ExpectedText
{
    QRect rect;
    int flags = 0;
    QString text;
};

// A black picture holding only the expected texts, white in the overlay font.
QImage textReference(const std::vector<ExpectedText> &texts, int size = 500);

// The red channels of drawn and reference agree inside area, and the
// reference has text there (so the comparison cannot pass on two blanks).
::testing::AssertionResult sameTextPixels(const QImage &drawn, const QImage &reference,
                                          const QRect &area);

} // namespace dorvane::test
