#include "ui/display/AssessmentView.h"

#include "core/app/TextIds.h"
#include "core/app/TextService.h"
#include "render/AssessmentChartLayout.h"
#include "render/AssessmentChartPicture.h"
#include "ui/widgets/UiText.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace dorvane {

namespace {

QString percent(double value)
{
    return QString::number(value, 'f', 1) + " %";
}

} // namespace

AssessmentView::AssessmentView(QWidget *parent, int size) : QWidget(parent)
{
    setObjectName("assessmentView");
    if (size > 0)
        setFixedSize(size, size);
    setFocusPolicy(Qt::StrongFocus);
}

void AssessmentView::showAssessment(const ConditionAssessment &assessment,
                                    const std::vector<float> &cableLengths,
                                    const GradingTable &grades)
{
    m_assessment = &assessment;
    m_cableLengths = &cableLengths;
    m_grades = &grades;
    redraw();
}

void AssessmentView::setCurrentFrame(int frame)
{
    if (frame == m_current)
        return;
    m_current = frame;
    redraw();
}

void AssessmentView::clear()
{
    m_assessment = nullptr;
    m_cableLengths = nullptr;
    m_grades = nullptr;
    m_current = -1;
    redraw();
}

void AssessmentView::redraw()
{
    if (!m_assessment) {
        m_picture = QImage();
    } else {
        // The whole chart again: it is gathered per pixel column, so this
        // costs the same for any length of survey.
        m_picture = drawAssessmentChart(*m_assessment, *m_cableLengths, *m_grades, size(),
                                        m_current, shownLanguage() != 0);
    }
    update();
}

int AssessmentView::frameAt(const QPoint &point) const
{
    if (!m_assessment || !rect().contains(point))
        return -1;
    return AssessmentChartLayout(*m_cableLengths, size()).frameAt(point.x());
}

QString AssessmentView::toolTipAt(const QPoint &point) const
{
    const int frame = frameAt(point);
    if (frame < 0 || frame >= static_cast<int>(m_assessment->frames.size()))
        return {};
    const FrameCondition &c = m_assessment->frames[static_cast<size_t>(frame)];
    QStringList lines{uiText(text::FrameAtLength)
                          .arg(frame + 1)
                          .arg((*m_cableLengths)[static_cast<size_t>(frame)], 0, 'f', 2)};
    if (!c.assessed) {
        lines << uiText(text::NotAssessed);
        return lines.join('\n');
    }
    const auto line = [&](int name, const std::optional<double> &value, DefectKind kind) {
        QString text = uiText(name) + ": " + (value ? percent(*value) : QStringLiteral("-"));
        if (value) {
            const int grade = m_grades->of(kind).grade(*value);
            if (grade > 0)
                text += "  " + QString::fromStdString(m_grades->of(kind).code) + ' ' +
                        uiText(text::GradeOfDefect).arg(grade);
        }
        return text;
    };
    lines << uiText(text::CapacityLossSeries) + ": " + percent(c.capacityLossPct);
    lines << line(text::DepositShareSeries, c.sedimentDepthPct, DefectKind::Deposit);
    lines << line(text::DeformationSeries,
                  c.shape ? std::optional<double>(c.shape->deformationPct) : std::nullopt,
                  DefectKind::Deformation);
    return lines.join('\n');
}

void AssessmentView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_picture.isNull())
        painter.fillRect(rect(), Qt::white);
    else
        painter.drawImage(0, 0, m_picture);
}

void AssessmentView::mousePressEvent(QMouseEvent *event)
{
    const int frame = frameAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && frame >= 0)
        emit frameClicked(frame);
}

void AssessmentView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    redraw();
}

bool AssessmentView::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QString tip = toolTipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(event);
}

} // namespace dorvane
