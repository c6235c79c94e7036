#include "render/SedimentChartPicture.h"

#include "core/app/TextIds.h"
#include "core/app/TextService.h"
#include "core/display/SedimentChartScale.h"
#include "render/ChartFont.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace dorvane {

namespace {

constexpr int Margin = 30;
constexpr int TickLength = 5;
constexpr int LabelGap = 4;    // pixels at least between two length labels
constexpr int LabelOffset = 5; // from the axis down to the length labels

QString chartText(int id)
{
    return QString::fromStdString(loadText(id));
}

// A text with "%d" in it, filled in without handing a language file's text to
// printf as a format.
QString withNumber(int id, int value)
{
    QString pattern = chartText(id);
    const qsizetype at = pattern.indexOf(QStringLiteral("%d"));
    if (at >= 0)
        pattern.replace(at, 2, QString::number(value));
    return pattern;
}

// Far beyond any picture, and small enough to add to.
constexpr double PixelLimit = 1 << 24;

int toPixel(double offset)
{
    if (std::isnan(offset))
        return 0;
    return static_cast<int>(std::clamp(offset, -PixelLimit, PixelLimit));
}

// Pixel positions of the plot: 30 pixels in from the left and top, 60
// pixels narrower and 60 lower than the rectangle. A length off the axis
// stands at its nearer end.
struct Plot
{
    SedimentChartScale scale;
    int width;
    int height;

    int x(double metres) const
    {
        // xmax lies below xmin when the survey runs backwards.
        const double onAxis =
            std::clamp(metres, std::min(scale.xmin, scale.xmax), std::max(scale.xmin, scale.xmax));
        return Margin + toPixel(width * (onAxis - scale.xmin) / (scale.xmax - scale.xmin));
    }
    int y(double millimetres) const
    {
        return Margin + height - toPixel(height * millimetres / scale.ymax);
    }
};

Plot plotOf(const SedimentChartScale &scale, const QRect &rect)
{
    return {scale, rect.width() - 90, rect.height() - 60};
}

} // namespace

SedimentChart::SedimentChart(const std::vector<float> &cableLengths,
                             const std::vector<int32_t> &depths, int pipeRadius)
    : m_cableLengths(cableLengths), m_depths(depths), m_pipeRadius(pipeRadius)
{}

void SedimentChart::draw(QPainter &painter, const QRect &rect) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect, Qt::white);
    painter.setFont(chartFont());
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawText(titleRect(rect), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     chartText(text::SedimentChartTitle));

    const Plot plot = plotOf(SedimentChartScale::of(m_cableLengths, m_pipeRadius), rect);
    const bool ranged = plot.scale.hasXRange() && plot.scale.ymax > 0;
    const int left = rect.left() + Margin, bottom = rect.bottom() + 1 - Margin;
    const int right = rect.right() + 1, top = rect.top();

    if (ranged) {
        // The curve joins the frames that take part in the calculation.
        QPoint last;
        bool started = false;
        for (size_t i = 0; i < std::min(m_cableLengths.size(), m_depths.size()); ++i) {
            if (m_depths[i] == -1 || !std::isfinite(m_cableLengths[i]))
                continue;
            const QPoint p(plot.x(m_cableLengths[i]),
                           plot.y(static_cast<double>(static_cast<uint32_t>(m_depths[i]))));
            if (started)
                painter.drawLine(last, p);
            last = p;
            started = true;
        }
    }

    painter.drawLine(left, top, left, bottom);
    painter.drawLine(left, top, left - 4, top + 7);
    painter.drawLine(left, top, left + 4, top + 7);
    painter.drawText(depthAxisNameRect(rect), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     chartText(text::SedimentDepthAxis));
    painter.drawLine(left, bottom, right, bottom);
    painter.drawLine(right, bottom, right - 7, bottom - 4);
    painter.drawLine(right, bottom, right - 7, bottom + 4);
    painter.drawText(lengthAxisNameRect(rect), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     chartText(text::PipeLengthAxis));
    if (!ranged) {
        painter.restore();
        return;
    }

    const SedimentChartScale &scale = plot.scale;
    const int xEnd = plot.x(scale.xmax);
    const int topY = plot.y(scale.ymax);
    painter.drawLine(plot.x(scale.xmin), topY, xEnd, topY);
    QString pipeTop = withNumber(text::PipeTopLine, scale.ymax);
    pipeTop.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // A text wider than the margin beside the plot goes on more lines.
    painter.drawText(QRect(QPoint(xEnd, topY), QPoint(rect.right(), rect.bottom())),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, pipeTop);

    const int average = scale.averageDepth(m_cableLengths, m_depths);
    const int averageY = plot.y(average);
    painter.setPen(QPen(Qt::blue, 1, Qt::DashLine));
    painter.drawLine(plot.x(scale.xmin), averageY, xEnd, averageY);
    painter.setPen(Qt::black);
    painter.drawText(QRect(QPoint(xEnd, 0), QPoint(rect.right(), averageY - 1)),
                     Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWordWrap,
                     withNumber(text::AverageDepth, average));

    const QPen gridPen(QColor(0x80, 0x80, 0x80), 1, Qt::DotLine);
    const int axisY = plot.y(0);
    for (int i = 0; i < scale.xTickCount(); ++i) {
        const int x = plot.x(scale.xmin + i * SedimentChartScale::XStep);
        painter.setPen(Qt::black);
        painter.drawLine(x, axisY, x, axisY + TickLength);
        painter.setPen(gridPen);
        painter.drawLine(x, axisY, x, topY);
    }
    painter.setPen(Qt::black);
    for (const ChartLabel &label : lengthLabels(rect))
        painter.drawText(label.rect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip,
                         label.text);
    const int step = scale.yTickStep();
    for (int t = 0; t <= scale.ymax; t += step) {
        const int y = plot.y(t);
        painter.drawLine(left, y, left - TickLength, y);
        painter.drawText(QRect(QPoint(0, y - 20), QPoint(left - TickLength - 1, y + 19)),
                         Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                         QString::fromStdString(tickText(t)));
    }
    painter.restore();
}

std::vector<ChartLabel> SedimentChart::lengthLabels(const QRect &rect) const
{
    const Plot plot = plotOf(SedimentChartScale::of(m_cableLengths, m_pipeRadius), rect);
    const SedimentChartScale &scale = plot.scale;
    if (!scale.hasXRange() || scale.ymax <= 0)
        return {};
    const QFontMetrics metrics(chartFont());
    const int count = scale.xTickCount();
    std::vector<int> xs, widths;
    std::vector<QString> texts;
    for (int i = 0; i < count; ++i) {
        const double t = scale.xmin + i * SedimentChartScale::XStep;
        texts.push_back(QString::fromStdString(tickText(t)));
        xs.push_back(plot.x(t));
        widths.push_back(metrics.horizontalAdvance(texts.back()));
    }
    const int step = tickLabelStep(xs, widths, LabelGap);
    std::vector<ChartLabel> labels;
    const int top = plot.y(0) + LabelOffset;
    const QRect name = lengthAxisNameRect(rect).adjusted(-LabelGap, 0, 0, 0);
    for (int i = 0; i < count; i += step) {
        const auto k = static_cast<size_t>(i);
        const QRect label(xs[k] - widths[k] / 2, top, widths[k], metrics.height());
        if (label.left() <= name.right() && label.right() >= name.left())
            continue;
        labels.push_back({label, texts[k]});
    }
    return labels;
}

QRect SedimentChart::titleRect(const QRect &rect) const
{
    const QFontMetrics metrics(chartFont());
    const int width = metrics.horizontalAdvance(chartText(text::SedimentChartTitle));
    return QRect(rect.left() + (rect.width() - width) / 2, rect.top(), width, metrics.height());
}

QRect SedimentChart::depthAxisNameRect(const QRect &rect) const
{
    const QFontMetrics metrics(chartFont());
    const int width = metrics.horizontalAdvance(chartText(text::SedimentDepthAxis));
    QRect name(rect.left() + Margin + 10, rect.top(), width, metrics.height());
    if (name.right() + LabelGap >= titleRect(rect).left())
        name.translate(0, metrics.height());
    return name;
}

QRect SedimentChart::lengthAxisNameRect(const QRect &rect) const
{
    const QFontMetrics metrics(chartFont());
    const int width = metrics.horizontalAdvance(chartText(text::PipeLengthAxis));
    // Under the end of the axis, clear of its arrow.
    const int bottom = rect.bottom() + 1 - Margin;
    return QRect(rect.right() + 1 - 6 - width, bottom + 3, width, metrics.height());
}

} // namespace dorvane
