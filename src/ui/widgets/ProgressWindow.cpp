#include "ui/widgets/ProgressWindow.h"

#include "ui/widgets/UiText.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace dorvane {

ProgressWindow::ProgressWindow(QWidget *owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_owner(owner),
      m_label(new QLabel(this)), m_bar(new QProgressBar(this))
{
    setObjectName("progressWindow");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
    setAutoFillBackground(true);
    setStyleSheet("#progressWindow { border: 1px solid palette(dark); }");
    m_label->setObjectName("progressText");
    m_bar->setObjectName("progressBar");
    m_bar->setRange(0, BarMaximum);
    m_bar->setTextVisible(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    setFixedSize(320, 70);
}

void ProgressWindow::setText(const QString &text)
{
    m_label->setText(text);
    m_label->repaint();
}

void ProgressWindow::setProgressText(int textId)
{
    setText(uiText(textId));
}

void ProgressWindow::postProgress(int done, int total)
{
    if (done <= 0) {
        hide();
    } else {
        if (m_owner) {
            const QRect area = m_owner->frameGeometry();
            move(area.center() - QPoint(width() / 2, height() / 2));
        }
        if (isHidden())
            show();
        if (total != 0)
            m_bar->setValue(static_cast<int>(static_cast<long long>(done) * BarMaximum / total));
    }
    // Keep the program painting and answering while the work goes on.
    QCoreApplication::processEvents();
}

int ProgressWindow::barValue() const
{
    return m_bar->value();
}

QString ProgressWindow::text() const
{
    return m_label->text();
}

void ProgressWindow::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    hideWhenFull();
}

void ProgressWindow::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    hideWhenFull();
}

void ProgressWindow::hideWhenFull()
{
    // A window left standing at the end gets out of the way of the pointer.
    if (m_bar->value() >= BarMaximum)
        hide();
}

} // namespace dorvane
