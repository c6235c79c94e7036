#include "ui/display/PreviewPopup.h"

#include "core/app/TextIds.h"
#include "render/SonarPicture.h"
#include "ui/widgets/UiText.h"

#include <QMouseEvent>
#include <QPainter>

namespace dorvane {

namespace {
constexpr int Border = 5;
constexpr int TextHeight = 20;
} // namespace

PreviewPopup::PreviewPopup(QWidget *parent) : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setObjectName("previewPopup");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(PictureSize + 2 * Border, PictureSize + 2 * Border + TextHeight);
}

void PreviewPopup::dismiss()
{
    hide();
    m_index = -1;
}

void PreviewPopup::showAbove(const QPoint &screenPoint)
{
    move(screenPoint.x() - width() / 2, screenPoint.y() - height());
    show();
    update();
}

void PreviewPopup::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(217, 238, 255));
    painter.setPen(Qt::blue);
    painter.drawText(QRect(Border, Border, width() - 2 * Border, TextHeight),
                     Qt::AlignLeft | Qt::AlignTop,
                     uiText(text::FrameNumberLabel) + QString::number(m_index + 1));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(Border, Border + TextHeight, PictureSize, PictureSize),
                      sonarPicture(m_image));
}

void PreviewPopup::mousePressEvent(QMouseEvent *event)
{
    const int index = m_index;
    if (event->button() != Qt::LeftButton || index < 0)
        return;
    dismiss();
    emit clicked(index);
}

} // namespace dorvane
