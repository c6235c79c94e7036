#include "ui/app/MainWindow.h"

#include "core/app/Settings.h"
#include "core/app/TextIds.h"
#include "core/view3d/PipeCamera.h"
#include "render/FrameOverlay.h"
#include "ui/app/ControlState.h"
#include "ui/app/SurveySession.h"
#include "ui/app/ToolPanel.h"
#include "ui/app/WindowMemory.h"
#include "ui/display/AssessmentPanel.h"
#include "ui/display/AssessmentView.h"
#include "ui/display/DefectStrip.h"
#include "ui/display/FrameView.h"
#include "ui/display/GraphicsPanel.h"
#include "ui/display/PreviewPopup.h"
#include "ui/display/SedimentChartDialog.h"
#include "ui/display/StrokePanel.h"
#include "ui/display/StrokeView.h"
#include "ui/view3d/PipeView.h"
#include "ui/view3d/View3dPanel.h"
#include "ui/widgets/GradingTableChoice.h"
#include "ui/widgets/ProgressWindow.h"
#include "ui/widgets/ToolIcons.h"
#include "ui/widgets/UiText.h"
#include "ui/widgets/UserPrompts.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSlider>
#include <QStackedLayout>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace dorvane {

namespace {

constexpr int StartUpDelayMs = 10;
constexpr int SliderPageSize = 10;
constexpr int SliderTickInterval = 10;
constexpr int LegendRange = 50;

QToolButton *playButton(const char *name, ToolIcon icon, const QString &tip, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(toolIcon(icon));
    button->setIconSize(QSize(24, 24));
    button->setToolTip(tip);
    button->setAutoRaise(true);
    return button;
}

bool isTextInput(const QWidget *widget)
{
    return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QTextEdit *>(widget) ||
           qobject_cast<const QPlainTextEdit *>(widget) ||
           qobject_cast<const QAbstractSpinBox *>(widget) ||
           (qobject_cast<const QComboBox *>(widget) &&
            static_cast<const QComboBox *>(widget)->isEditable());
}

int viewIndex(MainWindow::View view)
{
    switch (view) {
    case MainWindow::View::Frame:
        return 0;
    case MainWindow::View::Stroke:
        return 1;
    case MainWindow::View::Pipe:
        return 2;
    case MainWindow::View::Assessment:
        return 3;
    case MainWindow::View::None:
        break;
    }
    return -1;
}

} // namespace

MainWindow::MainWindow(UserPrompts *prompts, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_session(new SurveySession(prompts, this))
{
    setObjectName("mainWindow");
    setWindowTitle(uiText(text::ProgramTitle));
    // The installed program's icon from the desktop's theme; the drawn one
    // where it is not installed (a build folder).
    setWindowIcon(QIcon::fromTheme("tessiq", toolIcon(ToolIcon::Program)));
    setAcceptDrops(true);

    m_preview = new PreviewPopup(this);
    m_defectStrip = new DefectStrip(this);
    m_viewArea = new QWidget(this);
    m_viewArea->setObjectName("viewArea");
    m_viewArea->setFixedSize(FrameView::ViewSize, FrameView::ViewSize);
    m_views = new QStackedLayout(m_viewArea);
    m_views->setContentsMargins(0, 0, 0, 0);
    m_frameView = new FrameView(m_viewArea);
    m_strokeView = new StrokeView(m_viewArea);
    m_pipeView = new PipeView(m_session->prompts(), m_viewArea);
    m_views->addWidget(m_frameView);
    m_views->addWidget(m_strokeView);
    m_assessmentView = new AssessmentView(m_viewArea, FrameView::ViewSize);
    m_views->addWidget(m_pipeView);
    m_views->addWidget(m_assessmentView);
    m_viewArea->hide();

    // The play buttons' tips name the keys that step one frame each way.
    m_backwardButton =
        playButton("playBackwardButton", ToolIcon::PlayBackward,
                   uiText(text::PlayBackwardsTip) + '\n' + uiText(text::StepBackKeyTip), this);
    m_pauseButton = playButton("pauseButton", ToolIcon::Pause, uiText(text::PauseTip), this);
    m_forwardButton =
        playButton("playForwardButton", ToolIcon::PlayForward,
                   uiText(text::PlayForwardsTip) + '\n' + uiText(text::StepForwardKeyTip), this);
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName("playbackSlider");
    m_slider->setRange(0, 0);
    m_slider->setTickInterval(SliderTickInterval);
    m_slider->setTickPosition(QSlider::TicksBelow);

    m_statusLine = new QLabel(this);
    m_statusLine->setObjectName("statusLine");
    m_statusLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path does not widen the window.
    m_statusLine->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    m_toolPanel = new ToolPanel(*this, *m_session);
    m_toolPanel->hide();

    auto *playRow = new QHBoxLayout;
    playRow->addStretch();
    playRow->addWidget(m_backwardButton);
    playRow->addWidget(m_pauseButton);
    playRow->addWidget(m_forwardButton);
    playRow->addStretch();
    auto *left = new QVBoxLayout;
    left->setSpacing(2);
    left->addWidget(m_viewArea);
    left->addWidget(m_defectStrip);
    left->addWidget(m_slider);
    left->addLayout(playRow);
    left->addWidget(m_statusLine);
    left->addStretch();
    auto *middle = new QHBoxLayout;
    middle->addLayout(left);
    middle->addSpacing(20);
    middle->addWidget(&m_toolPanel->sidePanels(), 1);
    auto *root = new QVBoxLayout(this);
    // The layout is set once; the window keeps the size it needs.
    root->setSizeConstraint(QLayout::SetFixedSize);
    root->addWidget(m_toolPanel);
    root->addLayout(middle);

    SurveySession &session = *m_session;
    using Direction = SurveySession::Direction;
    connect(m_forwardButton, &QToolButton::clicked, &session,
            [&session] { session.play(Direction::Forwards); });
    connect(m_backwardButton, &QToolButton::clicked, &session,
            [&session] { session.play(Direction::Backwards); });
    connect(m_pauseButton, &QToolButton::clicked, &session, &SurveySession::pause);
    connect(m_slider, &QSlider::actionTriggered, this, &MainWindow::sliderMoved);
    connect(m_defectStrip, &DefectStrip::frameClicked, &session, &SurveySession::goToFrame);
    connect(m_defectStrip, &DefectStrip::previewRequested, this, &MainWindow::previewFrame);
    connect(m_defectStrip, &DefectStrip::previewHidden, this, &MainWindow::hidePreview);
    connect(m_preview, &PreviewPopup::clicked, &session, &SurveySession::goToFrame);
    connect(m_assessmentView, &AssessmentView::frameClicked, &session, &SurveySession::goToFrame);
    for (ToolView *view : std::initializer_list<ToolView *>{m_frameView, m_strokeView})
        connect(view, &ToolView::editRequested, &session, &SurveySession::editFrame);
    m_defectStrip->setPositionOf(
        [this](int index, int count) { return markPosition(index, count); });

    connect(&session, &SurveySession::frameShown, this, &MainWindow::frameShown);
    connect(&session, &SurveySession::frameEdited, this, &MainWindow::frameEdited);
    connect(&session, &SurveySession::surveyChanged, this, &MainWindow::surveyChanged);
    connect(&session, &SurveySession::closed, this, &MainWindow::surveyClosed);
    connect(&session, &SurveySession::opened, this, [this] {
        m_centreViewpointPending = true;
        // A recording cut off part way opens with what it holds whole.
        const uint64_t trailing = m_session->document().trailingBytes();
        showStatus(trailing ? uiText(text::TrailingPartialFrame).arg(trailing) : QString());
    });
    connect(m_pipeView, &PipeView::deviceLost, this, &MainWindow::pipeDeviceLost);
    connect(&session, &SurveySession::playbackChanged, this, &MainWindow::applyOverlaySettings);
    connect(&session, &SurveySession::factsChanged, this, &MainWindow::applyControlState);
    for (const auto signal : {&SurveySession::opened, &SurveySession::closed,
                              &SurveySession::frameEdited, &SurveySession::factsChanged})
        connect(&session, signal, this, &MainWindow::updateTitle);
    applyControlState();

    // Ctrl+A, Ctrl+D and Ctrl+S work wherever the focus is in the window.
    qApp->installEventFilter(this);
    QTimer::singleShot(StartUpDelayMs, this, &MainWindow::startUp);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
}

void MainWindow::startUp()
{
    m_viewArea->show();
    m_toolPanel->show();
    m_toolPanel->switchPage(ToolPanel::Page::Animation);
    layout()->activate();
    keepOnScreen();
    raise();
    activateWindow();
    m_defectStrip->relayout();
    m_started = true;
    if (!m_startFile.isEmpty())
        m_session->openFile(std::exchange(m_startFile, QString()));
    if (m_startPage != ToolPanel::Page::Animation)
        m_toolPanel->switchPage(m_startPage);
}

void MainWindow::openAtStart(const QString &path)
{
    if (m_started)
        m_session->openFile(path);
    else
        m_startFile = path;
}

void MainWindow::applyControlState()
{
    const ControlState state = controlStateFor(m_session->facts());
    setEnabled(state.windowEnabled);
    for (QWidget *w : std::initializer_list<QWidget *>{m_backwardButton, m_pauseButton,
                                                       m_forwardButton, m_slider, m_defectStrip})
        w->setEnabled(state.playbackEnabled);
    for (ToolView *view : std::initializer_list<ToolView *>{m_frameView, m_strokeView})
        view->setToolsLocked(state.viewToolsLocked);
    m_toolPanel->applyControlState(state);
}

void MainWindow::setVisibleView(View view)
{
    m_visibleView = view;
    if (view != View::None)
        m_views->setCurrentIndex(viewIndex(view));
}

void MainWindow::focusVisibleView()
{
    if (QWidget *view = m_views->currentWidget())
        view->setFocus();
}

void MainWindow::frameShown(int index)
{
    m_slider->setValue(index + 1);
    presentFrame();
}

void MainWindow::presentFrame()
{
    switch (m_visibleView) {
    case View::Frame:
        presentInFrameView();
        break;
    case View::Stroke:
        presentInStrokeView();
        break;
    case View::Pipe:
        presentInPipeView();
        break;
    case View::Assessment:
        presentInAssessmentView();
        break;
    case View::None:
        break;
    }
}

void MainWindow::presentInAssessmentView()
{
    SurveySession &session = *m_session;
    AssessmentPanel &panel = m_toolPanel->assessmentPanel();
    if (!session.isOpen()) {
        m_assessmentView->clear();
        panel.clear();
        return;
    }
    // A discarded edit changes the derived values back without an edit.
    if (std::exchange(m_assessmentStale, false) ||
        m_assessedWhileModified != session.isModified()) {
        m_assessedWhileModified = session.isModified();
        if (!m_grades)
            m_grades = GradingTableChoice::load(session.prompts());
        m_assessment = assessSurvey(session.derived(), *m_grades);
        m_assessmentView->showAssessment(m_assessment, session.derived().cableLengths(), *m_grades);
        panel.showAssessment(m_assessment, *m_grades);
    }
    m_assessmentView->setCurrentFrame(session.currentIndex());
}

void MainWindow::gradingTableChanged()
{
    m_grades.reset();
    m_assessmentStale = true;
    if (m_visibleView == View::Assessment)
        presentInAssessmentView();
}

void MainWindow::presentInPipeView()
{
    if (m_pipeModelStale)
        buildPipeModel();
    const SurveySession &session = *m_session;
    if (session.isOpen())
        m_pipeView->showFrameHeaders(session.currentFrame().header, session.fileHeader(),
                                     session.currentIndex(), session.frameCount());
    applyOverlaySettings();
}

void MainWindow::buildPipeModel()
{
    m_pipeModelStale = false;
    SurveySession &session = *m_session;
    // The build shows its progress, which handles events: nothing may open,
    // edit or delete meanwhile, as the model is made from the survey's
    // derived values.
    bool built = false;
    session.runWhileBusy([&] {
        const std::span<const RadiusProfile> profiles = session.isOpen()
                                                            ? session.derived().radiusProfiles()
                                                            : std::span<const RadiusProfile>();
        built = m_pipeView->build(profiles, &session.progressWindow(),
                                  session.isOpen() ? session.currentIndex() : -1);
    });
    if (!built)
        return;
    if (std::exchange(m_centreViewpointPending, false)) {
        m_pipeView->setViewpoint(PipeCamera::Centre);
        m_toolPanel->view3dPanel().resetTurn();
    }
}

PipeRenderer *MainWindow::currentPipeRenderer()
{
    return m_pipeModelStale ? nullptr : m_pipeView->renderer();
}

void MainWindow::redrawPipeView()
{
    if (m_session->isOpen())
        m_pipeView->setCurrentFrame(m_session->currentIndex());
}

void MainWindow::pipeDeviceLost()
{
    m_pipeModelStale = true;
    m_centreViewpointPending = true;
    if (m_visibleView == View::Pipe)
        presentInPipeView();
}

void MainWindow::presentInFrameView()
{
    const SurveySession &session = *m_session;
    const FrameRecord &frame = session.currentFrame();
    GraphicsPanel &graphics = m_toolPanel->graphicsPanel();
    graphics.resetForFrame();
    m_frameView->image().renderFrame(frame.samples.data(), frame.header.roll);
    m_frameView->showFrameHeaders(frame.header, session.fileHeader(), session.currentIndex(),
                                  session.frameCount());
    applyOverlaySettings();
    graphics.showPictureState();
}

void MainWindow::presentInStrokeView()
{
    const SurveySession &session = *m_session;
    const int index = session.currentIndex();
    const DerivedFrames &derived = session.derived();
    const bool known = index >= 0 && index < derived.size();
    m_strokeView->resetView();
    m_strokeView->showFrameHeaders(session.currentFrame().header, session.fileHeader(), index,
                                   session.frameCount());
    FrameOverlay &overlay = m_strokeView->overlay();
    overlay.averageSediment = session.averageSediment();
    overlay.sedimentDepthMm = known ? derived.sedimentDepth()[static_cast<size_t>(index)] : -1;
    overlay.bottomLabelMode = true;
    m_strokeView->setProfilePoints(known ? derived.peakPixels(index) : std::vector<uint32_t>());
    applyOverlaySettings();
    StrokePanel &panel = m_toolPanel->strokePanel();
    panel.setLegendRange(LegendRange);
    panel.showGridState();
}

void MainWindow::frameEdited()
{
    for (ToolView *view : std::initializer_list<ToolView *>{m_frameView, m_strokeView})
        view->updateHeaders(m_session->currentFrame().header, m_session->fileHeader());
    m_assessmentStale = true;
    if (m_visibleView == View::Assessment)
        presentInAssessmentView();
}

void MainWindow::surveyChanged()
{
    m_slider->setRange(1, m_session->frameCount());
    m_slider->setPageStep(SliderPageSize);
    m_defectStrip->setFlags(m_session->derived().defectFlags());
    m_pipeView->reset();
    m_pipeModelStale = true;
    m_assessmentStale = true;
    if (m_visibleView == View::Assessment && m_session->isOpen())
        presentInAssessmentView();
}

void MainWindow::updateTitle()
{
    const QString program = uiText(text::ProgramTitle);
    if (!m_session->isOpen()) {
        setWindowTitle(program);
        setWindowModified(false);
        return;
    }
    const QString name = QFileInfo(m_session->openedFile()).fileName();
    setWindowTitle(name.isEmpty() ? program : name + "[*] - " + program);
    setWindowModified(m_session->isModified());
}

void MainWindow::surveyClosed()
{
    hidePreview();
    m_slider->setRange(0, 0);
    m_defectStrip->clear();
    m_frameView->resetView();
    m_strokeView->resetView();
    m_pipeView->reset();
    m_pipeModelStale = true;
    m_assessmentStale = true;
    m_assessmentView->clear();
    m_toolPanel->assessmentPanel().clear();
    if (m_visibleView == View::Pipe)
        buildPipeModel();
}

void MainWindow::applyOverlaySettings()
{
    // The rate line shows while playing; title and notes as the settings say.
    const Settings &s = settings();
    const float fps = m_session->isPlaying() ? static_cast<float>(s.playRate) : 0.0f;
    for (ToolView *view : std::initializer_list<ToolView *>{m_frameView, m_strokeView}) {
        FrameOverlay &overlay = view->overlay();
        overlay.fps = fps;
        overlay.showTitle = s.showTitle != 0;
        overlay.showNotes = s.showNotes != 0;
        view->update();
    }
    FrameOverlay &overlay = m_pipeView->overlay();
    overlay.fps = fps;
    overlay.showTitle = s.showTitle != 0;
    overlay.showNotes = s.showNotes != 0;
    m_pipeView->update();
}

void MainWindow::sliderMoved()
{
    if (!m_session->scrollToFrame(m_slider->sliderPosition() - 1))
        m_slider->setSliderPosition(m_session->currentIndex() + 1);
}

int MainWindow::markPosition(int index, int count) const
{
    // Where the slider's own style puts the handle for that frame.
    QStyleOptionSlider option;
    option.initFrom(m_slider);
    option.subControls = QStyle::SC_None;
    option.activeSubControls = QStyle::SC_None;
    option.orientation = Qt::Horizontal;
    option.state |= QStyle::State_Horizontal;
    option.minimum = 1;
    option.maximum = std::max(count, 1);
    option.tickPosition = m_slider->tickPosition();
    option.tickInterval = m_slider->tickInterval();
    option.upsideDown = m_slider->layoutDirection() == Qt::RightToLeft;
    option.direction = m_slider->layoutDirection();
    option.sliderPosition = index + 1;
    option.sliderValue = index + 1;
    option.singleStep = m_slider->singleStep();
    option.pageStep = m_slider->pageStep();
    const QRect handle = m_slider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                           QStyle::SC_SliderHandle, m_slider);
    return m_defectStrip->mapFrom(this, m_slider->mapTo(this, handle.center())).x();
}

void MainWindow::previewFrame(const QPoint &screenPoint, int index)
{
    if (index != m_preview->shownIndex()) {
        // Straight from the file: the current frame stays as it is.
        auto frame = std::make_unique<FrameRecord>();
        if (!m_session->readFrame(index, *frame)) {
            hidePreview();
            return;
        }
        m_preview->setShownIndex(index);
        m_preview->image().renderFrame(frame->samples.data(), frame->header.roll);
    }
    m_preview->showAbove(screenPoint);
}

void MainWindow::hidePreview()
{
    m_preview->dismiss();
}

void MainWindow::openSedimentChart()
{
    if (!m_session->isOpen())
        return;
    const DerivedFrames &derived = m_session->derived();
    SedimentChartDialog chart(derived.cableLengths(), derived.sedimentDepth(),
                              derived.chartPipeRadius(), this);
    chart.exec();
}

void MainWindow::keepOnScreen()
{
    const QScreen *shown = screen();
    if (!shown)
        return;
    const QRect area = shown->availableGeometry();
    const QRect frame = frameGeometry();
    const int x = std::clamp(frame.left(), area.left(),
                             std::max(area.left(), area.right() + 1 - frame.width()));
    const int y = std::clamp(frame.top(), area.top(),
                             std::max(area.top(), area.bottom() + 1 - frame.height()));
    if (x != frame.left() || y != frame.top())
        move(x, y);
}

void MainWindow::showStatus(const QString &text)
{
    m_statusLine->setText(text);
    m_statusLine->setToolTip(text);
}

QString MainWindow::statusText() const
{
    return m_statusLine->text();
}

void MainWindow::reject()
{
    if (!m_session->requestClose())
        return;
    hidePreview();
    WindowMemory::store(*this, m_toolPanel->viewPage());
    QDialog::reject();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const auto urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile())
        return;
    event->acceptProposedAction();
    m_session->openFile(urls.front().toLocalFile());
}

bool MainWindow::handleShortcut(QKeyEvent *event, const QWidget *target, bool perform)
{
    if (!(event->modifiers() & Qt::ControlModifier))
        return false;
    SurveySession &session = *m_session;
    switch (event->key()) {
    case Qt::Key_A:
    case Qt::Key_D:
        // A text field keeps its own keys (select all); otherwise the keys
        // step, after the save question when edits are pending.
        if (isTextInput(target) || !session.isOpen() || session.isPlaying())
            return false;
        if (perform)
            session.step(event->key() == Qt::Key_D ? SurveySession::Direction::Forwards
                                                   : SurveySession::Direction::Backwards);
        return true;
    case Qt::Key_S:
        if (perform)
            session.save();
        return true;
    default:
        return false;
    }
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    const auto type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::ShortcutOverride) && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        if ((widget == this || isAncestorOf(widget)) && isEnabled()) {
            auto *key = static_cast<QKeyEvent *>(event);
            // Claiming the override keeps line edits from taking Ctrl+A.
            if (handleShortcut(key, widget, type == QEvent::KeyPress)) {
                event->accept();
                return type == QEvent::KeyPress;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    m_defectStrip->relayout();
}

} // namespace dorvane
