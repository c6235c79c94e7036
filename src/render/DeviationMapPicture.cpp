#include "render/DeviationMapPicture.h"

#include "core/display/DeviationMap.h"
#include "render/OverlayFont.h"

#include <QPainter>

namespace dorvane {

namespace {
const QColor MarkColour(100, 100, 20);
const QColor LegendBackground(170, 170, 170);
constexpr int LegendRowsPerHalf = 86;
constexpr int BarWidth = 20;
constexpr int TickLength = 10;
constexpr int LabelHeight = 16;

QColor colourOf(Rgb c)
{
    return QColor(c.red, c.green, c.blue);
}
} // namespace

QImage deviationMapImage(const DeviationMap &map)
{
    const int rows = std::max(map.rows(), 1);
    QImage image(DeviationMap::Width, rows, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (int f = 0; f < map.rows(); ++f) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(rows - 1 - f));
        for (int b = 0; b < DeviationMap::Width; ++b) {
            const Rgb c = map.pixel(b, f);
            line[b] = qRgb(c.red, c.green, c.blue);
        }
    }
    return image;
}

void drawDeviationMap(QPainter &painter, const QRect &rect, const QImage &mapImage, int frameCount,
                      int markedFrame)
{
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect, mapImage);
    if (markedFrame >= 0 && frameCount > 0) {
        const int y = rect.height() * (frameCount - markedFrame) / frameCount - 1;
        painter.setPen(MarkColour);
        painter.drawLine(rect.left(), rect.top() + y, rect.right(), rect.top() + y);
    }
    painter.restore();
}

int deviationMapFrameAt(int y, int height, int frameCount)
{
    if (height <= 0 || frameCount <= 0)
        return -1;
    const int frame = static_cast<int>(static_cast<long long>(height - y) * frameCount / height);
    return std::clamp(frame, 0, frameCount - 1);
}

std::vector<LegendTick> colourLegendTicks(int range)
{
    std::vector<LegendTick> ticks;
    const auto percent = [range](int n) {
        return static_cast<double>(static_cast<int>(n * range / 256.0 + 0.5));
    };
    int row = 0;
    for (int k = 0; k <= 255; k += 3, ++row) {
        const int n = 255 - k;
        if (n == 255 || n == 171 || n == 84 || n == 0)
            ticks.push_back({row, QString::asprintf("%2.1f%%", percent(n))});
    }
    for (int k = 0; k <= 255; k += 3, ++row) {
        if (k == 84 || k == 171 || k == 255)
            ticks.push_back({row, QString::asprintf("-%2.1f%%", percent(k))});
    }
    return ticks;
}

void drawColourLegend(QPainter &painter, const QRect &rect, int range)
{
    painter.save();
    painter.fillRect(rect, LegendBackground);
    painter.setFont(overlayFont());
    const QRect area = rect.adjusted(15, 10, -5, -10);
    const int left = area.left();
    // Upper half: 100 + d (deep red) down to 100 %; lower half on down to
    // 100 - d (deep blue).
    int y = area.top();
    for (int k = 0; k <= 255; k += 3, ++y) {
        painter.setPen(
            colourOf(deviationColour(static_cast<uint16_t>(100 + (256 - k) * range / 256), range)));
        painter.drawLine(left, y, left + BarWidth - 1, y);
    }
    for (int k = 0; k <= 255; k += 3, ++y) {
        painter.setPen(
            colourOf(deviationColour(static_cast<uint16_t>(100 - k * range / 256), range)));
        painter.drawLine(left, y, left + BarWidth - 1, y);
    }
    painter.setPen(Qt::black);
    const int textLeft = left + BarWidth + TickLength + 2;
    for (const LegendTick &tick : colourLegendTicks(range)) {
        const int row = area.top() + tick.row;
        painter.drawLine(left + BarWidth, row, left + BarWidth + TickLength, row);
        drawOverlayText(
            painter, QRect(textLeft, row - LabelHeight / 2, area.right() - textLeft, LabelHeight),
            tick.label, TextAlign::Left, true);
    }
    painter.restore();
}

} // namespace dorvane
