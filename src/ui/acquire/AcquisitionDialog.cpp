#include "ui/acquire/AcquisitionDialog.h"

#include "core/acquire/AlarmTone.h"
#include "core/acquire/DeviceLink.h"
#include "core/acquire/ImgImport.h"
#include "core/acquire/ProbeRequests.h"
#include "core/app/Settings.h"
#include "core/app/TextIds.h"
#include "core/document/AnimationDocument.h"
#include "render/FrameOverlay.h"
#include "ui/acquire/DialGauge.h"
#include "ui/acquire/FileListPanel.h"
#include "ui/display/FramePropertyPanel.h"
#include "ui/display/FrameView.h"
#include "ui/display/GraphicsPanel.h"
#include "ui/widgets/ProgressWindow.h"
#include "ui/widgets/ToolIcons.h"
#include "ui/widgets/UiText.h"
#include "ui/widgets/UserPrompts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <filesystem>

namespace dorvane {

namespace {

constexpr int InitialPipeRadius = 150;
constexpr int InitialListIndex = 1;
constexpr int FileTabDelayMs = 10;
constexpr float TiltAlarmDegrees = 45.0f;

const UserPrompts::FileDialog SaveAnimationDialog{"File to save",
                                                  "Image Video (*.Imv);;All files (*)", "Imv"};
const UserPrompts::FileDialog ImgFilesDialog{"Image File", "Image File (*.img);;All files (*)",
                                             "img"};

// The waiting dots go on where the last acquisition left them.
int waitingDots = 0;

QToolButton *commandButton(const char *name, int textId, ToolIcon icon, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(uiText(textId));
    button->setToolTip(uiText(textId));
    button->setIcon(toolIcon(icon));
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setMinimumWidth(64);
    return button;
}

QToolButton *tabButton(const char *name, int textId, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(uiText(textId));
    button->setCheckable(true);
    return button;
}

QLineEdit *readout(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->hide(); // the probe reports these, but there is no room to show them
    return edit;
}

// The same file, whatever the names: recording or importing onto the survey
// the main window has open would pull it from under the window.
bool isSameFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    std::error_code error;
    return std::filesystem::equivalent(a.toStdString(), b.toStdString(), error);
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

} // namespace

AcquisitionDialog::AcquisitionDialog(Mode mode, UserPrompts &prompts, const QString &openSurvey,
                                     QWidget *parent)
    : QDialog(parent), m_mode(mode), m_prompts(prompts), m_openSurvey(openSurvey),
      m_document(std::make_unique<AnimationDocument>(prompts)),
      m_view(new FrameView(this, LiveViewSize)), m_panels(new QStackedWidget(this)),
      m_tabs(new QButtonGroup(this)), m_progress(new ProgressWindow(this))
{
    setObjectName("acquisitionDialog");
    m_view->setObjectName("liveView");
    m_view->setToolsLocked(true);
    m_graphicsPanel = new GraphicsPanel(*m_view, m_panels);
    m_propertyPanel = new FramePropertyPanel(prompts, m_panels);
    m_propertyPanel->setReadOnly(true);
    m_fileList = new FileListPanel(m_panels);
    m_panels->addWidget(m_graphicsPanel);
    m_panels->addWidget(m_propertyPanel);
    m_panels->addWidget(m_fileList);
    m_panels->setFixedWidth(340);

    m_graphicsTab = tabButton("graphicsTab", text::GraphicsControl, this);
    m_propertiesTab = tabButton("propertiesTab", text::CurrentProperties, this);
    m_filesTab = tabButton("filesTab", text::FileListPage, this);
    m_tabs->addButton(m_graphicsTab, static_cast<int>(Tab::Graphics));
    m_tabs->addButton(m_propertiesTab, static_cast<int>(Tab::Properties));
    m_tabs->addButton(m_filesTab, static_cast<int>(Tab::Files));
    m_tabs->setExclusive(true);

    buildAcquireControls();
    m_import = commandButton("importFilesButton", text::ImportFiles, ToolIcon::Import, this);
    m_save = commandButton("saveAnimationButton", text::SaveAnimation, ToolIcon::Save, this);

    auto *commands = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{m_start, m_stop, m_zero, m_import, m_save})
        commands->addWidget(w);
    commands->addStretch();
    commands->addWidget(m_gauge);
    auto *settingsGrid = new QGridLayout;
    settingsGrid->addWidget(m_radiusLabel, 0, 0);
    settingsGrid->addWidget(m_radius, 0, 1);
    settingsGrid->addWidget(m_pulseLabel, 0, 2);
    settingsGrid->addWidget(m_pulse, 0, 3);
    settingsGrid->addWidget(m_pipeLabel, 0, 4);
    settingsGrid->addWidget(m_pipe, 0, 5);
    auto *left = new QVBoxLayout;
    left->addWidget(m_view);
    left->addLayout(settingsGrid);
    left->addLayout(commands);
    left->addStretch();
    auto *tabs = new QHBoxLayout;
    tabs->addWidget(m_graphicsTab);
    tabs->addWidget(m_propertiesTab);
    tabs->addWidget(m_filesTab);
    tabs->addStretch();
    auto *right = new QVBoxLayout;
    right->addLayout(tabs);
    right->addWidget(m_panels, 1);
    auto *root = new QHBoxLayout(this);
    root->addLayout(left);
    root->addLayout(right);

    connect(m_tabs, &QButtonGroup::idClicked, this,
            [this](int id) { showTab(static_cast<Tab>(id)); });
    connect(m_start, &QToolButton::clicked, this, &AcquisitionDialog::startRecording);
    connect(m_stop, &QToolButton::clicked, this, &AcquisitionDialog::stopRecording);
    connect(m_zero, &QToolButton::clicked, this, &AcquisitionDialog::zeroDistance);
    connect(m_radius, &QComboBox::activated, this, &AcquisitionDialog::sendDetectRadius);
    connect(m_pulse, &QComboBox::activated, this, &AcquisitionDialog::sendPulseWidth);
    connect(m_import, &QToolButton::clicked, this, &AcquisitionDialog::addFiles);
    connect(m_save, &QToolButton::clicked, this, &AcquisitionDialog::saveAnimation);
    connect(m_fileList, &FileListPanel::selectionChanged, this, &AcquisitionDialog::showSelection);
    connect(&m_deviceTimer, &QTimer::timeout, this, &AcquisitionDialog::checkDevice);

    showTab(Tab::Graphics);
    applyMode();
}

AcquisitionDialog::~AcquisitionDialog()
{
    // No frame may reach a window that is gone.
    LiveRecorder &recorder = LiveRecorder::instance();
    if (recorder.isRecording())
        recorder.stop();
    recorder.setListener(nullptr);
}

void AcquisitionDialog::buildAcquireControls()
{
    m_start = commandButton("startButton", text::StartAcquisition, ToolIcon::Acquire, this);
    m_stop = commandButton("stopButton", text::StopAcquisition, ToolIcon::Stop, this);
    m_zero = commandButton("zeroDistanceButton", text::ResetDistance, ToolIcon::ZeroDistance, this);
    m_start->hide();
    m_stop->hide();

    m_radiusLabel = new QLabel(uiText(text::DetectRadiusShort), this);
    m_radius = new QComboBox(this);
    m_radius->setObjectName("detectRadiusList");
    for (const int mm : probe::DetectRadiiMm)
        m_radius->addItem(QString::number(mm) + "mm");
    m_radius->setCurrentIndex(InitialListIndex);
    m_pulseLabel = new QLabel(uiText(text::PulseWidth), this);
    m_pulse = new QComboBox(this);
    m_pulse->setObjectName("pulseWidthList");
    for (const int us : probe::PulseWidthsUs)
        m_pulse->addItem(QString::number(us) + "us");
    m_pulse->setCurrentIndex(InitialListIndex);
    m_pipeLabel = new QLabel(uiText(text::PipeRadiusShort), this);
    m_pipe = new QLineEdit(QString::number(InitialPipeRadius), this);
    m_pipe->setObjectName("pipeRadiusEdit");
    m_pipe->setValidator(new QIntValidator(0, 65535, m_pipe));

    m_pressure = readout("pressureReadout", this);
    m_temperature = readout("temperatureReadout", this);
    m_voltage = readout("voltageReadout", this);
    // The probe reports no voltage: the dial shows the probe's tilt, which
    // the crew watches while the probe is drawn through the pipe.
    m_gauge = new DialGauge(this);
    m_gauge->setRange(90, 20);
    m_gauge->setZones({30, 40, 60, 70});
    m_gauge->setUnit(QString::fromUtf8("°"));
    m_gauge->setValue(0);
}

void AcquisitionDialog::applyMode()
{
    if (m_mode == Mode::Acquire) {
        setCaption(text::AcquisitionTitle);
        for (QWidget *w : std::initializer_list<QWidget *>{m_filesTab, m_import, m_save})
            w->hide();
        m_deviceTimer.start(DeviceWaitMs);
        return;
    }
    setCaption(text::ImportImgTitle);
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_radiusLabel, m_radius, m_pulseLabel, m_pulse,
                                          m_pipeLabel, m_pipe, m_gauge, m_zero, m_start, m_stop})
        w->hide();
    m_graphicsPanel->setEnabled(false);
    m_propertyPanel->setEnabled(false);
    QTimer::singleShot(FileTabDelayMs, this, [this] { showTab(Tab::Files); });
}

void AcquisitionDialog::setCaption(int textId, const QString &suffix)
{
    QString caption = uiText(textId) + suffix;
    // A simulated probe must never pass for a real one.
    DeviceLink &link = DeviceLink::instance();
    if (m_mode == Mode::Acquire && link.isSimulator()) {
        // Chinese brings its own full-width bracket; other languages a space.
        const QString mark = uiText(text::SimulatedProbe);
        caption += (mark.startsWith(QChar(0xFF08)) ? QString() : QStringLiteral(" ")) + mark;
    }
    setWindowTitle(caption);
}

void AcquisitionDialog::showTab(Tab tab)
{
    m_panels->setCurrentIndex(static_cast<int>(tab));
    m_tabs->button(static_cast<int>(tab))->setChecked(true);
    m_view->setFocus();
}

void AcquisitionDialog::checkDevice()
{
    DeviceLink &link = DeviceLink::instance();
    if (link.devicePresent()) {
        if (link.request(probe::QueryState)) {
            setCaption(text::ProbeReady);
            m_start->show();
            m_deviceTimer.stop();
        } else {
            setCaption(text::ProbeStatusFailed);
        }
    } else if (!link.load()) {
        setCaption(text::DeviceLibraryMissing);
    } else if (link.findDevice()) {
        setCaption(text::DownloadingFirmware);
        // The next tick checks the probe either way; the download is not
        // tried again.
        setCaption(link.downloadFirmware() ? text::FirmwareDownloaded
                                           : text::FirmwareDownloadFailed);
    } else {
        waitingDots = waitingDots % 3 + 1;
        setCaption(text::WaitingForDevice, QString(waitingDots, QLatin1Char('.')));
    }
}

int AcquisitionDialog::pipeRadiusValue() const
{
    return m_pipe->text().toInt();
}

bool AcquisitionDialog::sendDetectRadius()
{
    LiveRecorder &recorder = LiveRecorder::instance();
    const int radius = leadingNumber(m_radius->currentText());
    recorder.setDetectRadius(static_cast<uint16_t>(radius));
    recorder.setPipeRadius(static_cast<uint16_t>(m_pipeRadius));
    recorder.resetTemplate();
    const auto code = probe::detectRadiusRequest(radius);
    if (!code || !DeviceLink::instance().request(*code)) {
        m_prompts.showMessage(text::SetDetectRadiusFailed);
        return false;
    }
    return true;
}

bool AcquisitionDialog::sendPulseWidth()
{
    const auto code = probe::pulseWidthRequest(leadingNumber(m_pulse->currentText()));
    if (!code || !DeviceLink::instance().request(*code)) {
        m_prompts.showMessage(text::SetPulseWidthFailed);
        return false;
    }
    return true;
}

void AcquisitionDialog::setSettingsEnabled(bool enabled)
{
    m_radius->setEnabled(enabled);
    m_pulse->setEnabled(enabled);
    m_pipe->setEnabled(enabled);
}

void AcquisitionDialog::showRecording(bool recording)
{
    m_start->setVisible(!recording);
    m_stop->setVisible(recording);
}

bool AcquisitionDialog::startRecording()
{
    m_pipeRadius = pipeRadiusValue();
    if (m_pipeRadius == 0) {
        m_prompts.showMessage(text::EnterValidPipeRadius);
        return false;
    }
    const auto path = m_prompts.saveFileName(SaveAnimationDialog);
    if (!path)
        return false;
    if (isSameFile(*path, m_openSurvey)) {
        m_prompts.showMessage(text::CannotSaveOverOpenFile);
        return false;
    }
    // Their failures are told but do not stop the start.
    sendPulseWidth();
    sendDetectRadius();
    m_pipe->setEnabled(false);

    DeviceLink &link = DeviceLink::instance();
    if (!link.request(probe::Start)) {
        m_prompts.showMessage(text::StartProbeFailed);
        setSettingsEnabled(true);
        return false;
    }
    if (!link.getPipeInfo()) {
        m_prompts.showMessage(text::PipeCommandFailed);
        setSettingsEnabled(true);
        return false;
    }
    LiveRecorder &recorder = LiveRecorder::instance();
    recorder.setListener(this);
    if (!recorder.start(path->toStdString(), m_prompts)) {
        // Told; the probe goes back to rest and the window stays ready.
        link.request(probe::Stop);
        setSettingsEnabled(true);
        return false;
    }
    showRecording(true);
    return true;
}

bool AcquisitionDialog::stopRecording()
{
    // A probe that refuses keeps recording, and nothing is said.
    if (!DeviceLink::instance().request(probe::Stop))
        return false;
    stopNow();
    return true;
}

void AcquisitionDialog::stopNow()
{
    const bool durable = LiveRecorder::instance().stop();
    setSettingsEnabled(true);
    showRecording(false);
    if (!durable)
        m_prompts.showMessage(text::SaveFileFailed);
}

void AcquisitionDialog::zeroDistance()
{
    if (!DeviceLink::instance().request(probe::ZeroDistance))
        m_prompts.showMessage(text::ResetCommandFailed);
}

void AcquisitionDialog::frameRecorded()
{
    QMetaObject::invokeMethod(this, &AcquisitionDialog::showLiveFrame, Qt::QueuedConnection);
}

void AcquisitionDialog::recordingFailed(int textId)
{
    QMetaObject::invokeMethod(
        this, [this, textId] { recordingStopped(textId); }, Qt::QueuedConnection);
}

void AcquisitionDialog::showLiveFrame()
{
    LiveRecorder::instance().finishHandOver([this](const LiveRecorder::LiveFrame &frame) {
        m_view->image().renderFrame(frame.samples, frame.header.roll);
        m_view->showFrameHeaders(frame.header, frame.fileHeader, frame.frameCount - 1,
                                 frame.frameCount);
        FrameOverlay &overlay = m_view->overlay();
        overlay.averageSediment = 0;
        overlay.sedimentDepthMm = 0;
        overlay.showTitle = settings().showTitle != 0;
        overlay.showNotes = settings().showNotes != 0;
        m_view->update();

        m_pressure->setText(QString::number(frame.status.pressure()));
        m_temperature->setText(QString::number(frame.status.temperature()));
        const float tilt = frame.status.tiltDegrees();
        m_gauge->setValue(std::fabs(tilt));
        // Only a forward tilt beyond 45 degrees sounds.
        if (settings().tiltAlarm != 0 && tilt > TiltAlarmDegrees)
            AlarmTone::instance().sound();
    });
}

void AcquisitionDialog::recordingStopped(int textId)
{
    // The file holds every frame before the failure; the probe is told to
    // stop and the window is ready for a new recording.
    DeviceLink::instance().request(probe::Stop);
    stopNow();
    m_prompts.showMessage(textId);
}

void AcquisitionDialog::addFiles()
{
    const QStringList paths = m_prompts.openFileNames(ImgFilesDialog);
    if (paths.isEmpty())
        return;
    m_fileList->addFiles(paths);
    {
        const QSignalBlocker block(m_fileList);
        m_fileList->select(0);
    }
    showSelection();
}

void AcquisitionDialog::showSelection()
{
    const int row = m_fileList->selectedRow();
    if (row < 0) {
        m_document->reset();
        m_graphicsPanel->resetForFrame();
        m_propertyPanel->clear();
        m_graphicsPanel->setEnabled(false);
        m_propertyPanel->setEnabled(false);
        return;
    }
    if (!m_document->open(m_fileList->selectedPath().toStdString(), nullptr))
        return; // told; saving waits for a file that can be shown
    const FrameRecord &frame = m_document->current();
    m_propertyPanel->loadFrame(row, frame.header);
    m_graphicsPanel->resetForFrame();
    m_view->image().renderFrame(frame.samples.data(), frame.header.roll);
    m_view->showFrameHeaders(frame.header, m_document->fileHeader(), row, m_fileList->count());
    m_graphicsPanel->setEnabled(true);
    m_propertyPanel->setEnabled(true);
}

bool AcquisitionDialog::saveAnimation()
{
    if (!m_document->isOpen() || m_fileList->count() == 0)
        return false;
    const auto path = m_prompts.saveFileName(SaveAnimationDialog);
    if (!path)
        return false;
    if (isSameFile(*path, m_openSurvey)) {
        m_prompts.showMessage(text::CannotSaveOverOpenFile);
        return false;
    }
    std::vector<std::string> paths;
    for (const QString &item : m_fileList->paths())
        paths.push_back(item.toStdString());
    m_progress->setProgressText(text::SavingData);
    int failed = -1;
    setEnabled(false);
    const bool saved = importImgFiles(paths, m_document->fileHeader(), path->toStdString(),
                                      m_progress, m_prompts, &failed);
    setEnabled(true);
    if (!saved && failed >= 0) {
        // Show which item failed, without reading it again.
        const QSignalBlocker block(m_fileList);
        m_fileList->select(failed);
    }
    return saved;
}

void AcquisitionDialog::reject()
{
    m_deviceTimer.stop();
    const bool recording = LiveRecorder::instance().isRecording();
    // The stop request goes to the probe in any state; a recording stops
    // even when the probe refuses, since nobody would see its frames.
    DeviceLink::instance().request(probe::Stop);
    if (recording)
        stopNow();
    QDialog::reject();
}

void AcquisitionDialog::keyPressEvent(QKeyEvent *event)
{
    // Enter does nothing here; Escape closes as the close box does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace dorvane
