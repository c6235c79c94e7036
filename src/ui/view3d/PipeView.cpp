#include "ui/view3d/PipeView.h"

#include "core/app/TextIds.h"
#include "core/base/MessageSink.h"
#include "core/view3d/PipeMesh.h"
#include "render/PipeRenderer.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

namespace dorvane {

PipeView::PipeView(MessageSink &messages, QWidget *parent) : QWidget(parent), m_messages(messages)
{
    setObjectName("pipeView");
    setFixedSize(ViewSize, ViewSize);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    reset();
}

PipeView::~PipeView() = default;

bool PipeView::build(std::span<const RadiusProfile> profiles, ProgressSink *progress,
                     int currentIndex)
{
    if (!m_renderer) {
        m_renderer = PipeRenderer::create(size());
        if (!m_renderer) {
            m_messages.showMessage(text::View3dInitFailed);
            update();
            return false;
        }
    }
    PipeMesh mesh;
    mesh.build(profiles, progress);
    // A model that finds no room stays empty, as one without frames does.
    m_renderer->setModel(mesh);
    m_renderer->camera().modelBuilt();
    setCurrentFrame(currentIndex);
    return true;
}

void PipeView::setCurrentFrame(int index)
{
    m_overlay.frameIndex = index;
    if (m_renderer) {
        m_renderer->setHighlight(index);
        m_renderer->camera().followFrame(index);
    }
    changed();
}

void PipeView::showFrameHeaders(const FrameHeader &frame, const AnimationFileHeader &file,
                                int index, int count)
{
    m_header = frame;
    m_fileHeader = file;
    m_overlay.setFrame(&m_header, &m_fileHeader, index, count);
    setCurrentFrame(index);
}

void PipeView::setViewpoint(int viewpoint)
{
    if (m_renderer)
        m_renderer->camera().setViewpoint(viewpoint, m_renderer->modelLength());
    changed();
}

void PipeView::setAxisAngle(float radians)
{
    if (m_renderer)
        m_renderer->camera().setAxisAngle(radians);
    changed();
}

void PipeView::setTiltAngle(float radians)
{
    if (m_renderer)
        m_renderer->camera().setTiltAngle(radians);
    changed();
}

void PipeView::zoom(int delta)
{
    if (m_renderer)
        m_renderer->camera().zoom(delta);
    changed();
}

void PipeView::pan(int dx, int dy)
{
    if (m_renderer)
        m_renderer->camera().pan(dx, dy);
    changed();
}

void PipeView::setFixedCamera(bool fixed)
{
    if (m_renderer)
        m_renderer->camera().setFixed(fixed);
    changed();
}

void PipeView::toggleWireframe()
{
    if (m_renderer)
        m_renderer->setSolid(!m_renderer->isSolid());
    changed();
}

void PipeView::reset()
{
    m_overlay.reset();
    m_overlay.showCircle = false;
    m_overlay.showGrid = false;
    m_overlay.showRuler = false;
    m_overlay.showGauges = false;
    m_overlay.outlineTopTexts = true;
    update();
}

bool PipeView::saveBmp(const QString &path)
{
    return m_renderer && m_renderer->saveBmp(path.toStdString());
}

void PipeView::changed()
{
    m_stale = true;
    update();
}

void PipeView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_renderer && m_stale) {
        if (m_renderer->render()) {
            m_stale = false;
        } else {
            // A lost context: the window builds the model again afterwards.
            m_renderer.reset();
            QTimer::singleShot(0, this, &PipeView::deviceLost);
        }
    }
    if (!m_renderer) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    painter.drawImage(0, 0, m_renderer->picture());
    m_overlay.draw(painter, width(), true);
}

void PipeView::mousePressEvent(QMouseEvent *event)
{
    if (!m_renderer)
        return;
    const QPoint p = event->position().toPoint();
    ArcBall &ball = m_renderer->camera().arcBall();
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton)
        ball.leftButtonDown(p.x(), p.y());
    else if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton)
        ball.otherButtonDown(p.x(), p.y());
    else
        return;
    changed();
}

void PipeView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_renderer)
        return;
    const QPoint p = event->position().toPoint();
    ArcBall &ball = m_renderer->camera().arcBall();
    const Qt::MouseButtons held = event->buttons();
    if (held & Qt::LeftButton)
        ball.mouseMove(p.x(), p.y(), ArcBall::Held::Left);
    else if (held & Qt::RightButton)
        ball.mouseMove(p.x(), p.y(), ArcBall::Held::Right);
    else if (held & Qt::MiddleButton)
        ball.mouseMove(p.x(), p.y(), ArcBall::Held::Middle);
    else
        return;
    changed();
}

void PipeView::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_renderer || event->button() != Qt::LeftButton)
        return;
    m_renderer->camera().arcBall().leftButtonUp();
    changed();
}

void PipeView::wheelEvent(QWheelEvent *event)
{
    if (!m_renderer)
        return;
    m_renderer->camera().arcBall().wheel(event->angleDelta().y());
    changed();
}

void PipeView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_A:
    case Qt::Key_D:
    case Qt::Key_S:
        // The main window's keys.
        event->ignore();
        return;
    case Qt::Key_W:
        if (m_renderer)
            toggleWireframe();
        break;
    default:
        break;
    }
    if (m_renderer)
        event->accept();
    else
        event->ignore();
}

} // namespace dorvane
