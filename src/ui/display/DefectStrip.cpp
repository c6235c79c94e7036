#include "ui/display/DefectStrip.h"

#include <QMouseEvent>
#include <QPainter>

namespace dorvane {

namespace {
const QColor NormalLine(150, 150, 0);
const QColor NormalFill(200, 200, 0);
const QColor HotLine(190, 190, 0);
const QColor HotFill(230, 230, 0);
constexpr int TickHeight = 5;
constexpr int HoverCheckMs = 500;

} // namespace

DefectStrip::DefectStrip(QWidget *parent) : QWidget(parent)
{
    setObjectName("defectStrip");
    setMouseTracking(true);
    setFixedHeight(16);
    m_hoverTimer.setInterval(HoverCheckMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, &DefectStrip::checkPointer);
}

void DefectStrip::setPositionOf(PositionOf positionOf)
{
    m_positionOf = std::move(positionOf);
    recomputeMarks();
}

void DefectStrip::setFlags(const std::vector<uint8_t> &flags)
{
    m_flags = flags;
    recomputeMarks();
}

QRect DefectStrip::markRect(int x, int height)
{
    int left = x - 3, right = x + 3;
    const int top = 0;
    int bottom = height - TickHeight;
    const int w = right - left, h = bottom - top;
    if (w != h) {
        // Square, with the larger side, and centred again on x.
        const int side = std::max(w, h);
        left -= (h - w) / 2;
        right = left + side;
        bottom = top + side;
    }
    // QRect keeps inclusive corners; the mark spans [left, right) x [top, bottom).
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QRect DefectStrip::markRectOf(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= m_marks.size())
        return {};
    return m_marks[static_cast<size_t>(index)];
}

void DefectStrip::recomputeMarks()
{
    const int n = static_cast<int>(m_flags.size());
    m_marks.assign(m_flags.size(), QRect());
    m_markX.assign(m_flags.size(), 0);
    for (int i = 0; i < n; ++i) {
        if (!m_flags[static_cast<size_t>(i)] || !m_positionOf)
            continue;
        const int x = m_positionOf(i, n);
        m_markX[static_cast<size_t>(i)] = x;
        m_marks[static_cast<size_t>(i)] = markRect(x, height());
    }
    update();
}

int DefectStrip::markAt(const QPoint &point) const
{
    for (size_t i = 0; i < m_marks.size(); ++i)
        if (m_flags[i] && !m_marks[i].isNull() && m_marks[i].contains(point))
            return static_cast<int>(i);
    return -1;
}

void DefectStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setRenderHint(QPainter::Antialiasing);
    const int hot = markAt(mapFromGlobal(QCursor::pos()));
    const int n = static_cast<int>(m_flags.size());
    for (int i = 0; i < n; ++i) {
        if (!m_flags[static_cast<size_t>(i)] || m_marks[static_cast<size_t>(i)].isNull())
            continue;
        const bool isHot = i == hot;
        const int x = m_markX[static_cast<size_t>(i)];
        painter.setPen(isHot ? HotLine : NormalLine);
        painter.drawLine(x, height() - TickHeight, x, height());
        painter.setBrush(isHot ? HotFill : NormalFill);
        painter.drawEllipse(m_marks[static_cast<size_t>(i)]);
    }
}

void DefectStrip::mouseMoveEvent(QMouseEvent *event)
{
    const int mark = markAt(event->position().toPoint());
    setCursor(mark >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (mark < 0)
        return;
    update();
    const QRect r = m_marks[static_cast<size_t>(mark)];
    emit previewRequested(mapToGlobal(QPoint(r.center().x(), r.top() - 5)), mark);
    m_hoverTimer.start();
}

void DefectStrip::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const int mark = markAt(event->position().toPoint());
        if (mark >= 0)
            emit frameClicked(mark);
    }
    emit previewHidden();
}

void DefectStrip::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    recomputeMarks();
}

void DefectStrip::checkPointer()
{
    if (markAt(mapFromGlobal(QCursor::pos())) >= 0)
        return;
    emit previewHidden();
    m_hoverTimer.stop();
    update();
}

} // namespace dorvane
