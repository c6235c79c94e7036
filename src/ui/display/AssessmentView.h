#pragma once

#include "core/assess/ConditionAssessment.h"

#include <QImage>
#include <QWidget>
#include <vector>

namespace dorvane {

// The assessment chart of the whole survey in the view area, the current
// frame marked. A click asks to go to the frame under it; hovering tells that
// frame's figures.
class AssessmentView : public QWidget
{
    Q_OBJECT

public:
    explicit AssessmentView(QWidget *parent = nullptr, int size = 0);

    // The caller keeps the three alive until the next call or clear().
    void showAssessment(const ConditionAssessment &assessment,
                        const std::vector<float> &cableLengths, const GradingTable &grades);
    void setCurrentFrame(int frame);
    void clear();

    const QImage &picture() const { return m_picture; }
    int currentFrame() const { return m_current; }
    // The frame nearest the length under a point; -1 off the plot.
    int frameAt(const QPoint &point) const;
    // What hovering over a point tells; empty off the plot.
    QString toolTipAt(const QPoint &point) const;

signals:
    void frameClicked(int frame);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    void redraw();

    const ConditionAssessment *m_assessment = nullptr;
    const std::vector<float> *m_cableLengths = nullptr;
    const GradingTable *m_grades = nullptr;
    int m_current = -1;
    QImage m_picture;
};

} // namespace dorvane
