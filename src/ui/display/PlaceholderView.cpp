#include "ui/display/PlaceholderView.h"

#include <QPainter>

namespace dorvane {

PlaceholderView::PlaceholderView(const QString &name, QWidget *parent) : QWidget(parent)
{
    setObjectName(name);
    setFixedSize(500, 500);
    setFocusPolicy(Qt::StrongFocus);
}

void PlaceholderView::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Qt::black);
}

} // namespace dorvane
