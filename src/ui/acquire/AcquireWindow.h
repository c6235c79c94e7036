#pragma once

#include "core/acquire/LiveRecorder.h"
#include "core/acquire/ProbeSession.h"
#include "ui/acquire/FrameViewDialog.h"

#include <QTimer>

class QComboBox;
class QLabel;
class QLineEdit;

namespace dorvane {

class DialGauge;

// The acquisition window: waits for the probe's device, downloads its
// firmware, checks the probe, sends its settings and records a survey live,
// each frame shown at once in the window's own view with the probe's tilt on
// a dial.
class AcquireWindow : public FrameViewDialog, private LiveRecorder::Listener
{
    Q_OBJECT

public:
    static constexpr int DeviceWaitMs = 2000;

    // openSurvey: the survey the main window has open; recording onto it is
    // refused.
    AcquireWindow(UserPrompts &prompts, const QString &openSurvey, QWidget *parent = nullptr);
    ~AcquireWindow() override;

    // One tick of the device wait; the caption says how far it got.
    void checkDevice();
    bool isWaitingForDevice() const { return m_deviceTimer.isActive(); }
    bool startRecording();
    // Asks the probe to stop; the recording stops when it agrees.
    bool stopRecording();
    void zeroDistance();
    bool sendDetectRadius();
    bool sendPulseWidth();

    // Stops any recording, then closes.
    void reject() override;

    DialGauge &dialGauge() { return *m_gauge; }
    // The line inside the window that tells the probe's state, the file
    // being recorded with its frames, and the file saved.
    QString statusText() const;

private:
    void setSettingsEnabled(bool enabled);
    void showRecording(bool recording);
    void setCaption(int textId, const QString &suffix = QString());
    // After a recording ends: the file and the whole frames it holds on disk.
    void showSaved();

    // On the device thread: post to the window's thread, never wait.
    void frameRecorded() override;
    void recordingFailed() override;
    // On the window's thread.
    void showLiveFrame();
    void recordingStopped();

    ProbeSession m_session;
    QTimer m_deviceTimer;

    QToolButton *m_start;
    QToolButton *m_stop;
    QToolButton *m_zero;
    QComboBox *m_radius;
    QComboBox *m_pulse;
    QLineEdit *m_pipe;
    QLineEdit *m_pressure;
    QLineEdit *m_temperature;
    DialGauge *m_gauge;
    QLabel *m_status;
    ProbeSession::DeviceState m_deviceState = ProbeSession::DeviceState::Waiting;
    QString m_recordingPath;
};

} // namespace dorvane
