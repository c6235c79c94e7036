#include "ui/display/StrokePanel.h"

#include "core/app/TextIds.h"
#include "core/display/DeviationMap.h"
#include "render/DeviationMapPicture.h"
#include "ui/display/StrokeView.h"
#include "ui/widgets/ToolIcons.h"
#include "ui/widgets/UiText.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace dorvane {

DeviationMapWidget::DeviationMapWidget(QWidget *parent) : QWidget(parent)
{
    setObjectName("deviationMap");
    setCursor(Qt::PointingHandCursor);
    setFixedSize(200, 260);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DeviationMapWidget::setMap(const DeviationMap &map)
{
    m_image = deviationMapImage(map);
    m_frames = map.rows();
    update();
}

void DeviationMapWidget::setMarkedFrame(int frame)
{
    m_marked = frame;
    update();
}

void DeviationMapWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_image.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    drawDeviationMap(painter, rect(), m_image, m_frames, m_marked);
}

void DeviationMapWidget::mousePressEvent(QMouseEvent *event)
{
    const int frame = deviationMapFrameAt(event->position().toPoint().y(), height(), m_frames);
    if (frame >= 0)
        emit frameClicked(frame);
}

ColourLegendWidget::ColourLegendWidget(QWidget *parent) : QWidget(parent)
{
    setObjectName("colourLegend");
    setFixedSize(110, 200);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColourLegendWidget::setRange(int range)
{
    m_range = range;
    redraw();
}

void ColourLegendWidget::redraw()
{
    m_picture = QImage(size(), QImage::Format_RGB32);
    QPainter painter(&m_picture);
    drawColourLegend(painter, m_picture.rect(), m_range);
    update();
}

void ColourLegendWidget::paintEvent(QPaintEvent *)
{
    if (m_picture.size() != size())
        redraw();
    QPainter(this).drawImage(0, 0, m_picture);
}

void ColourLegendWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    redraw();
}

StrokePanel::StrokePanel(StrokeView &view, QWidget *parent)
    : QWidget(parent), m_view(view), m_map(new DeviationMapWidget(this)),
      m_legend(new ColourLegendWidget(this)), m_gridButton(new QToolButton(this)),
      m_curveButton(new QToolButton(this))
{
    setObjectName("strokePanel");
    m_gridButton->setObjectName("strokeGridButton");
    m_gridButton->setText(uiText(text::ShowScale));
    m_gridButton->setIcon(toolIcon(ToolIcon::Grid));
    m_gridButton->setCheckable(true);
    m_curveButton->setObjectName("sedimentCurveButton");
    m_curveButton->setText(uiText(text::SedimentCurve));
    m_curveButton->setIcon(toolIcon(ToolIcon::Curve));
    for (QToolButton *button : {m_gridButton, m_curveButton}) {
        button->setIconSize(QSize(24, 24));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setMinimumWidth(70);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_gridButton);
    buttons->addWidget(m_curveButton);
    buttons->addStretch();
    auto *pictures = new QHBoxLayout;
    pictures->addWidget(m_map);
    pictures->addWidget(m_legend, 0, Qt::AlignTop);
    pictures->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addLayout(pictures);
    layout->addStretch();

    connect(m_gridButton, &QToolButton::clicked, this, &StrokePanel::gridToggled);
    connect(m_curveButton, &QToolButton::clicked, this, &StrokePanel::chartRequested);
    connect(m_map, &DeviationMapWidget::frameClicked, this, &StrokePanel::frameClicked);
}

void StrokePanel::buildDeviationMap(std::span<const RadiusProfile> profiles, int markedFrame)
{
    const DeviationMap map(profiles);
    m_map->setMap(map);
    m_map->setMarkedFrame(markedFrame);
}

void StrokePanel::setMarkedFrame(int frame)
{
    m_map->setMarkedFrame(frame);
}

void StrokePanel::setLegendRange(int range)
{
    m_legend->setRange(range);
}

void StrokePanel::showGridState()
{
    m_gridButton->setChecked(m_view.hasFrame() && m_view.overlay().showGrid);
}

void StrokePanel::clear()
{
    buildDeviationMap({}, -1);
}

void StrokePanel::gridToggled()
{
    m_gridButton->setChecked(m_view.overlay().toggleGrid());
    m_view.update();
}

} // namespace dorvane
