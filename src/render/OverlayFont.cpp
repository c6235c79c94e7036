#include "render/OverlayFont.h"

#include <QPainter>
#include <QRect>

namespace dorvane {

const QFont &overlayFont()
{
    static const QFont font = [] {
        // A 16-pixel cell with an 8-pixel advance: a 13-pixel monospaced face
        // for digits and letters, the CJK face for Chinese texts.
        QFont f;
        f.setFamilies(
            {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("WenQuanYi Micro Hei Mono")});
        f.setPixelSize(13);
        f.setStyleHint(QFont::TypeWriter);
        return f;
    }();
    return font;
}

void drawOverlayText(QPainter &painter, const QRect &rect, const QString &text, TextAlign align,
                     bool singleLine)
{
    int flags = Qt::AlignTop | Qt::TextSingleLine;
    switch (align) {
    case TextAlign::Left:
        flags |= Qt::AlignLeft;
        break;
    case TextAlign::Centre:
        flags |= Qt::AlignHCenter;
        break;
    case TextAlign::Right:
        flags |= Qt::AlignRight;
        break;
    }
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // Without Qt::TextDontClip every line is cut at the rectangle, as the
    // layout of the overlay expects. A single line shows breaks as spaces.
    if (singleLine) {
        painter.drawText(rect, flags, lines);
        return;
    }
    int top = rect.top();
    for (const QString &line : lines.split(QLatin1Char('\n'))) {
        const QRect lineRect(rect.left(), top, rect.width(), rect.bottom() + 1 - top);
        if (lineRect.height() <= 0)
            break;
        painter.drawText(lineRect, flags, line);
        top += OverlayLinePitch;
    }
}

} // namespace dorvane
