#include "ui/display/SedimentChartDialog.h"

#include <QPainter>
#include <QVBoxLayout>

namespace dorvane {

SedimentChartView::SedimentChartView(const SedimentChart &chart, QWidget *parent)
    : QWidget(parent), m_chart(chart)
{
    setObjectName("sedimentChart");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(724, 442);
}

void SedimentChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_chart.draw(painter, rect());
}

SedimentChartDialog::SedimentChartDialog(const std::vector<float> &cableLengths,
                                         const std::vector<int32_t> &depths, int pipeRadius,
                                         QWidget *parent)
    : QDialog(parent), m_chart(cableLengths, depths, pipeRadius)
{
    setObjectName("sedimentChartDialog");
    setWindowTitle(QString());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new SedimentChartView(m_chart, this));
}

} // namespace dorvane
