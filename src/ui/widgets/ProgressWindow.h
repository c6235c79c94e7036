#pragma once

#include "core/base/ProgressSink.h"

#include <QWidget>

class QLabel;
class QProgressBar;

namespace dorvane {

// The small window that shows the progress of a long operation over its
// owner. Each post keeps the program alive by handling pending events.
class ProgressWindow final : public QWidget, public ProgressSink
{
    Q_OBJECT

public:
    static constexpr int BarMaximum = 200;

    explicit ProgressWindow(QWidget *owner);

    // The text line, shown at once.
    void setText(const QString &text);
    void setProgressText(int textId) override;
    void postProgress(int done, int total) override;

    int barValue() const;
    QString text() const;

protected:
    void enterEvent(QEnterEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void hideWhenFull();

    QWidget *m_owner;
    QLabel *m_label;
    QProgressBar *m_bar;
};

} // namespace dorvane
