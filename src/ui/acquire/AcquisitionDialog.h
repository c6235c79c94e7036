#pragma once

#include "core/acquire/LiveRecorder.h"

#include <QDialog>
#include <QTimer>
#include <memory>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QToolButton;

namespace dorvane {

class AnimationDocument;
class DialGauge;
class FileListPanel;
class FramePropertyPanel;
class FrameView;
class GraphicsPanel;
class ProgressWindow;
class UserPrompts;

// The acquisition window, in one of two modes fixed when it is made.
// Acquire: waits for the probe's device, downloads its firmware, checks the
// probe, sends its settings and records a survey live, each frame shown at
// once in the window's own view. Import: a list of IMG files, each previewed
// with its header, saved in list order as a new survey.
class AcquisitionDialog : public QDialog, private LiveRecorder::Listener
{
    Q_OBJECT

public:
    enum class Mode
    {
        Acquire,
        Import
    };
    static constexpr int DeviceWaitMs = 2000;
    static constexpr int LiveViewSize = 400;

    // openSurvey: the survey the main window has open; recording onto it is
    // refused.
    AcquisitionDialog(Mode mode, UserPrompts &prompts, const QString &openSurvey,
                      QWidget *parent = nullptr);
    ~AcquisitionDialog() override;

    Mode mode() const { return m_mode; }

    // One tick of the device wait; the caption says how far it got.
    void checkDevice();
    bool isWaitingForDevice() const { return m_deviceTimer.isActive(); }
    bool startRecording();
    // Asks the probe to stop; the recording stops when it agrees.
    bool stopRecording();
    void zeroDistance();
    bool sendDetectRadius();
    bool sendPulseWidth();

    void addFiles();
    void showSelection();
    bool saveAnimation();

    // Stops any recording, then closes.
    void reject() override;

    FrameView &liveView() { return *m_view; }
    FileListPanel &fileList() { return *m_fileList; }
    FramePropertyPanel &propertyPanel() { return *m_propertyPanel; }
    GraphicsPanel &graphicsPanel() { return *m_graphicsPanel; }
    DialGauge &dialGauge() { return *m_gauge; }
    ProgressWindow &progressWindow() { return *m_progress; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum class Tab
    {
        Graphics,
        Properties,
        Files
    };

    void buildAcquireControls();
    void applyMode();
    void showTab(Tab tab);
    void setSettingsEnabled(bool enabled);
    void showRecording(bool recording);
    void setCaption(int textId, const QString &suffix = QString());
    int pipeRadiusValue() const;
    void stopNow();

    // On the device thread: post to the window's thread, never wait.
    void frameRecorded() override;
    void recordingFailed(int textId) override;
    // On the window's thread.
    void showLiveFrame();
    void recordingStopped(int textId);

    Mode m_mode;
    UserPrompts &m_prompts;
    QString m_openSurvey;
    std::unique_ptr<AnimationDocument> m_document;
    QTimer m_deviceTimer;

    FrameView *m_view;
    GraphicsPanel *m_graphicsPanel;
    FramePropertyPanel *m_propertyPanel;
    FileListPanel *m_fileList;
    QStackedWidget *m_panels;
    QButtonGroup *m_tabs;
    QToolButton *m_graphicsTab;
    QToolButton *m_propertiesTab;
    QToolButton *m_filesTab;
    QToolButton *m_start;
    QToolButton *m_stop;
    QToolButton *m_zero;
    QToolButton *m_import;
    QToolButton *m_save;
    QLabel *m_radiusLabel;
    QComboBox *m_radius;
    QLabel *m_pulseLabel;
    QComboBox *m_pulse;
    QLabel *m_pipeLabel;
    QLineEdit *m_pipe;
    QLineEdit *m_pressure;
    QLineEdit *m_temperature;
    QLineEdit *m_voltage;
    DialGauge *m_gauge;
    ProgressWindow *m_progress;
    int m_pipeRadius = 150;
};

} // namespace dorvane
