#include "ui/acquire/DialGauge.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace dorvane {

namespace {

constexpr double Pi = 3.14159265358979323846;

} // namespace

DialGauge::DialGauge(QWidget *parent) : QWidget(parent)
{
    setObjectName("dialGauge");
    setFixedSize(160, 100);
}

void DialGauge::setRange(double minimum, double maximum, double numberStep)
{
    m_minimum = minimum;
    m_maximum = maximum > minimum ? maximum : minimum + 1;
    m_step = numberStep > 0 ? numberStep : m_maximum - m_minimum;
    update();
}

void DialGauge::setZones(const std::array<double, 4> &limits)
{
    m_zones = limits;
    update();
}

void DialGauge::setUnit(const QString &unit)
{
    m_unit = unit;
    update();
}

void DialGauge::setValue(double value)
{
    m_value = std::isfinite(value) ? value : 0;
    update();
}

QString DialGauge::readout() const
{
    return QString::number(m_value, 'f', 1) + m_unit;
}

void DialGauge::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double radius = std::min(width() / 2.0, height() - 22.0) - 4;
    const QPointF centre(width() / 2.0, radius + 4);
    const QRectF arc(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    // The scale runs from the left (minimum) over the top to the right
    // (maximum).
    const double span = m_maximum - m_minimum;
    const auto angleOf = [this, span](double v) {
        return 180.0 - 180.0 * (std::clamp(v, m_minimum, m_maximum) - m_minimum) / span;
    };
    const auto drawBand = [&](double from, double to) {
        from = std::max(from, m_minimum);
        to = std::min(to, m_maximum);
        if (to <= from)
            return;
        const double a0 = angleOf(from);
        const double a1 = angleOf(to);
        p.drawArc(arc.adjusted(3, 3, -3, -3), static_cast<int>(a1 * 16),
                  static_cast<int>((a0 - a1) * 16));
    };

    // Five bands between the four limits, from calm to alarming, on both
    // sides of 0.
    const QColor bandColours[] = {QColor(60, 170, 60), QColor(180, 200, 40), QColor(230, 170, 30),
                                  QColor(230, 110, 30), QColor(210, 40, 40)};
    const double farthest = std::max(std::fabs(m_minimum), std::fabs(m_maximum));
    for (size_t band = 0; band < 5; ++band) {
        const double from = band == 0 ? 0 : m_zones[band - 1];
        const double to = band == 4 ? farthest : m_zones[band];
        p.setPen(QPen(bandColours[band], 6, Qt::SolidLine, Qt::FlatCap));
        drawBand(from, to);
        drawBand(-to, -from);
    }

    p.setPen(palette().color(QPalette::WindowText));
    QFont font = p.font();
    font.setPixelSize(9);
    p.setFont(font);
    for (double v = m_minimum; v <= m_maximum + 1e-9; v += m_step) {
        const double a = angleOf(v) * Pi / 180.0;
        const QPointF outer = centre + QPointF(std::cos(a), -std::sin(a)) * (radius - 7);
        const QPointF inner = centre + QPointF(std::cos(a), -std::sin(a)) * (radius - 13);
        p.drawLine(inner, outer);
        const QPointF label = centre + QPointF(std::cos(a), -std::sin(a)) * (radius - 22);
        p.drawText(QRectF(label.x() - 12, label.y() - 6, 24, 12), Qt::AlignCenter,
                   QString::number(v, 'f', 0));
    }

    const double needle = angleOf(m_value) * Pi / 180.0;
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(centre, centre + QPointF(std::cos(needle), -std::sin(needle)) * (radius - 10));
    p.setPen(palette().color(QPalette::WindowText));
    font.setPixelSize(13);
    p.setFont(font);
    p.drawText(QRectF(0, centre.y() + 2, width(), 18), Qt::AlignCenter, readout());
}

} // namespace dorvane
