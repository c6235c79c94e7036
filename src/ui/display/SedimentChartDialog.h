#pragma once

#include "render/SedimentChartPicture.h"

#include <QDialog>

namespace dorvane {

// The control that draws the sediment depth chart over its whole area.
class SedimentChartView : public QWidget
{
    Q_OBJECT

public:
    SedimentChartView(const SedimentChart &chart, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const SedimentChart &m_chart;
};

// The sediment depth chart of the open survey in a window of its own.
class SedimentChartDialog : public QDialog
{
    Q_OBJECT

public:
    SedimentChartDialog(const std::vector<float> &cableLengths, const std::vector<int32_t> &depths,
                        int pipeRadius, QWidget *parent = nullptr);

    const SedimentChart &chart() const { return m_chart; }

private:
    SedimentChart m_chart;
};

} // namespace dorvane
