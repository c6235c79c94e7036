#pragma once

#include "core/data/AnimationFileHeader.h"
#include "core/data/FrameHeader.h"
#include "core/display/Sediment.h"
#include "render/FrameOverlay.h"

#include <QWidget>
#include <cstdint>
#include <memory>
#include <span>

namespace dorvane {

class MessageSink;
class PipeRenderer;
class ProgressSink;

// The 3D page: the survey as a textured tube that the mouse turns (left
// drag), moves (right drag) and brings nearer (middle drag, wheel), with the
// band of the current frame in yellow and the frame's overlay on top. W
// switches between solid and wireframe; Enter, Escape, A, D and S are left
// to the main window.
class PipeView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ViewSize = 500;

    PipeView(MessageSink &messages, QWidget *parent = nullptr);
    ~PipeView() override;

    // A new model from the survey's radius profiles, textured with their
    // deviation map, then the current frame shown. Creates the
    // renderer first if there is none; when that fails, says so and
    // returns false. An empty survey gives an empty model.
    bool build(std::span<const RadiusProfile> profiles, ProgressSink *progress, int currentIndex);
    bool isReady() const { return m_renderer != nullptr; }

    // The overlay's frame and the band drawn in yellow; the model slides to
    // the frame unless the camera is fixed.
    void setCurrentFrame(int index);
    void showFrameHeaders(const FrameHeader &frame, const AnimationFileHeader &file, int index,
                          int count);
    void setViewpoint(int viewpoint);
    void setAxisAngle(float radians);
    void setTiltAngle(float radians);
    // In wheel units (120 a notch).
    void zoom(int delta);
    void pan(int dx, int dy);
    void setFixedCamera(bool fixed);
    void toggleWireframe();
    // Forgets the frame: overlay reset without circle, grid, ruler or gauges.
    void reset();

    // Renders and writes the picture (without the overlay) as a 24-bit BMP.
    bool saveBmp(const QString &path);

    FrameOverlay &overlay() { return m_overlay; }
    // Null until the first build and after a lost context.
    PipeRenderer *renderer() { return m_renderer.get(); }

signals:
    // Rendering failed, as with a lost device: the renderer is gone and the
    // model must be built again.
    void deviceLost();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The picture is rendered again at the next paint.
    void changed();

    MessageSink &m_messages;
    std::unique_ptr<PipeRenderer> m_renderer;
    FrameOverlay m_overlay;
    FrameHeader m_header;
    AnimationFileHeader m_fileHeader;
    bool m_stale = true;
};

} // namespace dorvane
