#pragma once

#include <QFont>
#include <QString>

class QPainter;
class QRect;

namespace dorvane {

// The one font of every overlay: 16-pixel lines, 8-pixel Latin advance, with
// Chinese glyphs; created on first use and kept until the program ends.
const QFont &overlayFont();

// Lines of overlay text are this many pixels apart: the layout of every
// overlay is built on 16-pixel lines, although the font's own line spacing is
// a little larger.
constexpr int OverlayLinePitch = 16;

// Horizontal placement of an overlay text in its rectangle. Texts always hang
// from the rectangle's top edge.
enum class TextAlign
{
    Left,
    Centre,
    Right,
};

// Draws text in the painter's pen and font, clipped to rect. "\r\n" (or a lone
// "\r" or "\n") starts a new line OverlayLinePitch pixels lower unless
// singleLine is set; lines are never wrapped.
void drawOverlayText(QPainter &painter, const QRect &rect, const QString &text, TextAlign align,
                     bool singleLine);

} // namespace dorvane
