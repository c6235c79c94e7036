#pragma once

#include <QString>
#include <QWidget>
#include <array>

namespace dorvane {

// A semicircular meter: a scale from its minimum to its maximum with
// numbers, coloured zones, a needle and a digital readout with one decimal
// and a unit.
class DialGauge : public QWidget
{
    Q_OBJECT

public:
    explicit DialGauge(QWidget *parent = nullptr);

    void setRange(double minimum, double maximum, double numberStep);
    // The four limits between five coloured bands, green to red, as
    // distances from 0: below 0 the bands mirror those above.
    void setZones(const std::array<double, 4> &limits);
    void setUnit(const QString &unit);
    // The needle and the readout.
    void setValue(double value);
    double value() const { return m_value; }
    QString readout() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_minimum = 0;
    double m_maximum = 90;
    double m_step = 20;
    std::array<double, 4> m_zones{30, 40, 60, 70};
    QString m_unit;
    double m_value = 0;
};

} // namespace dorvane
