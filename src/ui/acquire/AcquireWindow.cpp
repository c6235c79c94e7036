#include "ui/acquire/AcquireWindow.h"

#include "core/acquire/AlarmTone.h"
#include "core/acquire/DeviceLink.h"
#include "core/acquire/ProbeRequests.h"
#include "core/app/Settings.h"
#include "core/app/TextIds.h"
#include "core/data/AnimationFile.h"
#include "ui/acquire/DialGauge.h"
#include "ui/display/FramePropertyPanel.h"
#include "ui/widgets/UiText.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace dorvane {

namespace {

QLineEdit *readout(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->hide(); // the probe reports these, but there is no room to show them
    return edit;
}

// The number an item such as "187mm" or "8us" starts with.
int leadingNumber(const QString &text)
{
    int value = 0;
    for (const QChar c : text) {
        if (!c.isDigit())
            break;
        value = value * 10 + c.digitValue();
    }
    return value;
}

template<size_t N>
QComboBox *choiceList(const char *name, const std::array<int, N> &values, const char *unit,
                      int initialIndex, QWidget *parent)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(name);
    for (const int value : values)
        list->addItem(QString::number(value) + unit);
    list->setCurrentIndex(initialIndex);
    return list;
}

} // namespace

AcquireWindow::AcquireWindow(UserPrompts &prompts, const QString &openSurvey, QWidget *parent)
    : FrameViewDialog(prompts, openSurvey, parent), m_session(prompts),
      m_start(commandButton("startButton", text::StartAcquisition, ToolIcon::Acquire)),
      m_stop(commandButton("stopButton", text::StopAcquisition, ToolIcon::Stop)),
      m_zero(commandButton("zeroDistanceButton", text::ResetDistance, ToolIcon::ZeroDistance)),
      m_radius(choiceList("detectRadiusList", probe::DetectRadiiMm, "mm",
                          ProbeSession::DefaultDetectRadiusIndex, this)),
      m_pulse(choiceList("pulseWidthList", probe::PulseWidthsUs, "us",
                         ProbeSession::DefaultPulseWidthIndex, this)),
      m_pipe(new QLineEdit(QString::number(ProbeSession::DefaultPipeRadiusMm), this)),
      m_pressure(readout("pressureReadout", this)),
      m_temperature(readout("temperatureReadout", this)), m_gauge(new DialGauge(this)),
      m_status(new QLabel(this))
{
    setObjectName("acquireWindow");
    m_start->hide();
    m_stop->hide();
    m_pipe->setObjectName("pipeRadiusEdit");
    m_pipe->setValidator(new QIntValidator(0, 65535, m_pipe));
    readout("voltageReadout", this); // the probe reports no voltage
    // The dial shows the probe's tilt, forwards and backwards, which the
    // crew watches while the probe is drawn through the pipe.
    m_gauge->setRange(-90, 90, 30);
    m_gauge->setZones({30, 40, 60, 70});
    m_gauge->setUnit(QString::fromUtf8("°"));
    m_gauge->setValue(0);

    auto *settingsGrid = new QGridLayout;
    settingsGrid->addWidget(new QLabel(uiText(text::DetectRadiusShort), this), 0, 0);
    settingsGrid->addWidget(m_radius, 0, 1);
    settingsGrid->addWidget(new QLabel(uiText(text::PulseWidth), this), 0, 2);
    settingsGrid->addWidget(m_pulse, 0, 3);
    settingsGrid->addWidget(new QLabel(uiText(text::PipeRadiusShort), this), 0, 4);
    settingsGrid->addWidget(m_pipe, 0, 5);
    auto *commands = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{m_start, m_stop, m_zero})
        commands->addWidget(w);
    commands->addStretch();
    commands->addWidget(m_gauge);
    m_status->setObjectName("acquireStatus");
    m_status->setWordWrap(true);
    controls().addLayout(settingsGrid);
    controls().addLayout(commands);
    controls().addWidget(m_status);

    connect(m_start, &QToolButton::clicked, this, &AcquireWindow::startRecording);
    connect(m_stop, &QToolButton::clicked, this, &AcquireWindow::stopRecording);
    connect(m_zero, &QToolButton::clicked, this, &AcquireWindow::zeroDistance);
    connect(m_radius, &QComboBox::activated, this, &AcquireWindow::sendDetectRadius);
    connect(m_pulse, &QComboBox::activated, this, &AcquireWindow::sendPulseWidth);
    connect(&m_deviceTimer, &QTimer::timeout, this, &AcquireWindow::checkDevice);

    setCaption(text::AcquisitionTitle);
    m_deviceTimer.start(DeviceWaitMs);
}

AcquireWindow::~AcquireWindow()
{
    // No frame may reach a window that is gone; a stream that still runs
    // (its recording failed and the window closed before it heard) stops,
    // and what went wrong is told.
    if (m_session.isStreaming())
        m_session.close();
    LiveRecorder::instance().setListener(nullptr);
}

void AcquireWindow::setCaption(int textId, const QString &suffix)
{
    QString caption = uiText(textId) + suffix;
    // A simulated probe must never pass for a real one.
    if (DeviceLink::instance().isSimulator()) {
        // Chinese brings its own full-width bracket; other languages a space.
        const QString mark = uiText(text::SimulatedProbe);
        caption += (mark.startsWith(QChar(0xFF08)) ? QString() : QStringLiteral(" ")) + mark;
    }
    setWindowTitle(caption);
    m_status->setText(caption);
}

QString AcquireWindow::statusText() const
{
    return m_status->text();
}

void AcquireWindow::showSaved()
{
    const QFileInfo file(m_recordingPath);
    if (m_recordingPath.isEmpty() || !file.exists())
        return; // an empty recording leaves no file, and says so
    const int frames = frameCountForSize(static_cast<uint64_t>(file.size())).value_or(0);
    m_status->setText(uiText(text::RecordingSaved).arg(file.fileName()).arg(frames));
}

void AcquireWindow::checkDevice()
{
    const ProbeSession::DeviceWait step = m_session.waitForDevice();
    setCaption(step.textId, QString(step.dots, QLatin1Char('.')));
    // A failure is also told in a box, once, not at every tick of the wait.
    using State = ProbeSession::DeviceState;
    const bool failed = step.state == State::NoLibrary || step.state == State::FirmwareFailed ||
                        step.state == State::CheckFailed;
    if (failed && step.state != m_deviceState)
        prompts().showMessage(step.textId);
    m_deviceState = step.state;
    if (step.state != ProbeSession::DeviceState::Ready)
        return;
    m_start->show();
    m_deviceTimer.stop();
}

bool AcquireWindow::sendDetectRadius()
{
    return m_session.setDetectRadius(leadingNumber(m_radius->currentText()));
}

bool AcquireWindow::sendPulseWidth()
{
    return m_session.setPulseWidth(leadingNumber(m_pulse->currentText()));
}

void AcquireWindow::setSettingsEnabled(bool enabled)
{
    m_radius->setEnabled(enabled);
    m_pulse->setEnabled(enabled);
    m_pipe->setEnabled(enabled);
}

void AcquireWindow::showRecording(bool recording)
{
    m_start->setVisible(!recording);
    m_stop->setVisible(recording);
    // The lists stay usable while recording: a change goes to the probe.
    m_pipe->setEnabled(!recording);
}

bool AcquireWindow::startRecording()
{
    if (!m_session.setPipeRadius(m_pipe->text().toInt()))
        return false;
    const auto path = chooseNewSurvey();
    if (!path)
        return false;
    if (!m_session.start(*path, leadingNumber(m_radius->currentText()),
                         leadingNumber(m_pulse->currentText()), this)) {
        setSettingsEnabled(true);
        return false;
    }
    m_recordingPath = QString::fromStdString(*path);
    m_status->setText(
        uiText(text::RecordingInto).arg(QFileInfo(m_recordingPath).fileName()).arg(0));
    showRecording(true);
    return true;
}

bool AcquireWindow::stopRecording()
{
    // A probe that refuses keeps recording, and nothing is said.
    if (!m_session.stop())
        return false;
    showRecording(false);
    setSettingsEnabled(true);
    showSaved();
    return true;
}

void AcquireWindow::zeroDistance()
{
    m_session.zeroDistance();
}

void AcquireWindow::frameRecorded()
{
    QMetaObject::invokeMethod(this, &AcquireWindow::showLiveFrame, Qt::QueuedConnection);
}

void AcquireWindow::recordingFailed()
{
    QMetaObject::invokeMethod(this, &AcquireWindow::recordingStopped, Qt::QueuedConnection);
}

void AcquireWindow::showLiveFrame()
{
    LiveRecorder::instance().finishHandOver([this](const LiveRecorder::LiveFrame &frame) {
        showFrame(frame.samples, frame.header, frame.fileHeader, frame.frameCount - 1,
                  frame.frameCount, 0);
        // The current properties tab shows the frame just recorded.
        propertyPanel().loadFrame(frame.frameCount - 1, frame.header);
        m_status->setText(uiText(text::RecordingInto)
                              .arg(QFileInfo(m_recordingPath).fileName())
                              .arg(frame.frameCount));
        const ProbeSession::Readings readings =
            ProbeSession::readings(frame.status, settings().tiltAlarm != 0);
        m_pressure->setText(QString::number(readings.pressure));
        m_temperature->setText(QString::number(readings.temperature));
        m_gauge->setValue(readings.tiltDegrees);
        if (readings.tiltAlarm)
            AlarmTone::instance().sound();
    });
}

void AcquireWindow::recordingStopped()
{
    // Stopped already (the stop button, or closing) and told there.
    if (!m_session.isStreaming())
        return;
    // The file holds every frame before the failure; the probe is told to
    // stop and the window is ready for a new recording.
    m_session.close();
    showRecording(false);
    setSettingsEnabled(true);
    showSaved();
}

void AcquireWindow::reject()
{
    m_deviceTimer.stop();
    // The stop request goes to the probe in any state; a recording stops
    // even when the probe refuses, since nobody would see its frames.
    m_session.close();
    QDialog::reject();
}

} // namespace dorvane
