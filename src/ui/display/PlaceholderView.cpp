#include "ui/display/PlaceholderView.h"

#include "core/display/PictureGeometry.h"

#include <QPainter>

namespace dorvane {

PlaceholderView::PlaceholderView(const QString &name, QWidget *parent) : QWidget(parent)
{
    setObjectName(name);
    setFixedSize(PictureSize, PictureSize);
    setFocusPolicy(Qt::StrongFocus);
}

void PlaceholderView::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Qt::black);
}

} // namespace dorvane
