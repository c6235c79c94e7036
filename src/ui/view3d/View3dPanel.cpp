#include "ui/view3d/View3dPanel.h"

#include "core/app/TextIds.h"
#include "core/view3d/ControlSteps.h"
#include "core/view3d/PipeCamera.h"
#include "ui/view3d/PipeView.h"
#include "ui/widgets/ToolIcons.h"
#include "ui/widgets/UiText.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace dorvane {

namespace {

constexpr int PanStep = 50;
constexpr int ZoomStep = 50;

QToolButton *arrowButton(const char *name, Qt::ArrowType arrow, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFixedSize(36, 30);
    return button;
}

QToolButton *textButton(const char *name, const QString &text, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setAutoRepeat(true);
    button->setFixedSize(36, 30);
    return button;
}

} // namespace

View3dPanel::View3dPanel(PipeView &view, QWidget *parent)
    : QWidget(parent), m_view(view), m_slider(new QSlider(Qt::Horizontal)),
      m_fixedCamera(new QToolButton)
{
    setObjectName("view3dPanel");
    using namespace controlsteps;

    auto *rotation = new QGroupBox(uiText(text::RotateControl), this);
    m_slider->setParent(rotation);
    m_slider->setObjectName("axisSlider");
    m_slider->setRange(0, SliderMaximum);
    m_slider->setTickInterval(1);
    m_slider->setTickPosition(QSlider::TicksBelow);
    auto *turnLeft = arrowButton("turnLeftButton", Qt::LeftArrow, rotation);
    auto *turnRight = arrowButton("turnRightButton", Qt::RightArrow, rotation);
    auto *tiltUp = arrowButton("tiltUpButton", Qt::UpArrow, rotation);
    auto *tiltDown = arrowButton("tiltDownButton", Qt::DownArrow, rotation);
    auto *rotationLayout = new QGridLayout(rotation);
    rotationLayout->addWidget(turnLeft, 0, 0);
    rotationLayout->addWidget(m_slider, 0, 1);
    rotationLayout->addWidget(turnRight, 0, 2);
    rotationLayout->addWidget(tiltUp, 1, 0);
    rotationLayout->addWidget(tiltDown, 1, 2);

    auto *panning = new QGroupBox(uiText(text::PanControl), this);
    auto *panUp = arrowButton("panUpButton", Qt::UpArrow, panning);
    auto *panDown = arrowButton("panDownButton", Qt::DownArrow, panning);
    auto *panLeft = arrowButton("panLeftButton", Qt::LeftArrow, panning);
    auto *panRight = arrowButton("panRightButton", Qt::RightArrow, panning);
    auto *panLayout = new QGridLayout(panning);
    panLayout->addWidget(panUp, 0, 1);
    panLayout->addWidget(panLeft, 1, 0);
    panLayout->addWidget(panRight, 1, 2);
    panLayout->addWidget(panDown, 2, 1);

    auto *zooming = new QGroupBox(uiText(text::ZoomControl), this);
    auto *zoomIn = textButton("zoomInButton", "+", zooming);
    auto *zoomOut = textButton("zoomOutButton", "-", zooming);
    auto *zoomLayout = new QHBoxLayout(zooming);
    zoomLayout->addWidget(zoomIn);
    zoomLayout->addWidget(zoomOut);
    zoomLayout->addStretch();

    auto *viewpoints = new QGroupBox(uiText(text::ViewpointControl), this);
    auto *viewpointLayout = new QGridLayout(viewpoints);
    const struct
    {
        const char *name;
        int textId;
        int viewpoint;
    } presets[] = {
        {"centreViewpointButton", text::CentreViewpoint, PipeCamera::Centre},
        {"outsideViewpointButton", text::OutsideViewpoint, PipeCamera::Outside},
        {"insideViewpointButton", text::InsideViewpoint, PipeCamera::Inside},
        {"farViewpointButton", text::DistantViewpoint, PipeCamera::Far},
    };
    int cell = 0;
    for (const auto &preset : presets) {
        auto *button = new QPushButton(uiText(preset.textId), viewpoints);
        button->setObjectName(preset.name);
        const int viewpoint = preset.viewpoint;
        connect(button, &QPushButton::clicked, this,
                [this, viewpoint] { chooseViewpoint(viewpoint); });
        viewpointLayout->addWidget(button, cell / 2, cell % 2);
        ++cell;
    }
    m_fixedCamera->setParent(viewpoints);
    m_fixedCamera->setObjectName("fixedCameraBox");
    m_fixedCamera->setCheckable(true);
    m_fixedCamera->setIcon(toolIcon(ToolIcon::FixedCamera));
    m_fixedCamera->setToolTip(uiText(text::FixedCameraTip));
    m_fixedCamera->setIconSize(QSize(28, 28));
    viewpointLayout->addWidget(m_fixedCamera, 2, 0, 1, 2, Qt::AlignLeft);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(rotation);
    layout->addWidget(panning);
    layout->addWidget(zooming);
    layout->addWidget(viewpoints);
    layout->addStretch();

    connect(m_slider, &QSlider::valueChanged, this, &View3dPanel::sliderMoved);
    connect(turnLeft, &QToolButton::clicked, this, [this] { stepSlider(-1); });
    connect(turnRight, &QToolButton::clicked, this, [this] { stepSlider(+1); });
    connect(tiltUp, &QToolButton::clicked, this, [this] { stepTilt(+1); });
    connect(tiltDown, &QToolButton::clicked, this, [this] { stepTilt(-1); });
    connect(zoomIn, &QToolButton::clicked, this, [this] { m_view.zoom(ZoomStep); });
    connect(zoomOut, &QToolButton::clicked, this, [this] { m_view.zoom(-ZoomStep); });
    connect(panUp, &QToolButton::clicked, this, [this] { m_view.pan(0, PanStep); });
    connect(panDown, &QToolButton::clicked, this, [this] { m_view.pan(0, -PanStep); });
    connect(panLeft, &QToolButton::clicked, this, [this] { m_view.pan(PanStep, 0); });
    connect(panRight, &QToolButton::clicked, this, [this] { m_view.pan(-PanStep, 0); });
    connect(m_fixedCamera, &QToolButton::toggled, &m_view, &PipeView::setFixedCamera);
}

void View3dPanel::sliderMoved(int position)
{
    m_view.setAxisAngle(controlsteps::draggedAxisAngle(position));
}

void View3dPanel::stepSlider(int delta)
{
    const int position = controlsteps::steppedSliderPosition(m_slider->value(), delta);
    {
        const QSignalBlocker blocker(m_slider);
        m_slider->setValue(position);
    }
    m_view.setAxisAngle(controlsteps::steppedAxisAngle(position));
}

void View3dPanel::stepTilt(int delta)
{
    m_tilt = controlsteps::steppedTilt(m_tilt, delta);
    m_view.setTiltAngle(controlsteps::tiltAngle(m_tilt));
}

void View3dPanel::chooseViewpoint(int viewpoint)
{
    m_view.setViewpoint(viewpoint);
    {
        const QSignalBlocker blocker(m_fixedCamera);
        m_fixedCamera->setChecked(viewpoint == PipeCamera::Far);
    }
    m_view.setFixedCamera(m_fixedCamera->isChecked());
    resetTurn();
}

void View3dPanel::resetTurn()
{
    const QSignalBlocker blocker(m_slider);
    m_slider->setValue(0);
    m_tilt = 0;
}

} // namespace dorvane
