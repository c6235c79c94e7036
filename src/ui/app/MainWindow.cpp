#include "ui/app/MainWindow.h"

#include "core/app/Settings.h"
#include "core/app/TextIds.h"
#include "render/FrameOverlay.h"
#include "ui/app/PipeAttributesPanel.h"
#include "ui/app/ProgressWindow.h"
#include "ui/app/QtUserPrompts.h"
#include "ui/app/ToolPanel.h"
#include "ui/display/DefectStrip.h"
#include "ui/display/FramePropertyPanel.h"
#include "ui/display/FrameView.h"
#include "ui/display/GraphicsPanel.h"
#include "ui/display/PlaceholderView.h"
#include "ui/display/PreviewPopup.h"
#include "ui/display/SedimentChartDialog.h"
#include "ui/display/StrokePanel.h"
#include "ui/display/StrokeView.h"
#include "ui/widgets/ToolIcons.h"
#include "ui/widgets/UiText.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QSlider>
#include <QStackedLayout>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace dorvane {

namespace {

constexpr int StartUpDelayMs = 10;
constexpr int SliderPageSize = 10;

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

int currentRate()
{
    const int rate = settings().playRate;
    return rate > 0 ? rate : 1;
}

} // namespace

MainWindow::MainWindow(UserPrompts *prompts, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_prompts(prompts)
{
    if (!m_prompts) {
        auto own = std::make_unique<QtUserPrompts>();
        own->setParent(this);
        m_prompts = own.get();
        m_ownPrompts = std::move(own);
    }
    setObjectName("mainWindow");
    setWindowTitle(uiText(167));
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
    m_pipeView = new PlaceholderView("pipeView", m_viewArea);
    m_views->addWidget(m_frameView);
    m_views->addWidget(m_strokeView);
    m_views->addWidget(m_pipeView);
    m_viewArea->hide();

    m_backwardButton = playButton("playBackwardButton", ToolIcon::PlayBackward, uiText(228), this);
    m_pauseButton = playButton("pauseButton", ToolIcon::Pause, uiText(229), this);
    m_forwardButton = playButton("playForwardButton", ToolIcon::PlayForward, uiText(230), this);
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName("playbackSlider");
    m_slider->setRange(0, 0);
    m_slider->setTickInterval(10);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setEnabled(false);

    m_toolPanel = new ToolPanel(*this, *m_prompts);
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

    connect(m_forwardButton, &QToolButton::clicked, this, &MainWindow::playForwards);
    connect(m_backwardButton, &QToolButton::clicked, this, &MainWindow::playBackwards);
    connect(m_pauseButton, &QToolButton::clicked, this, &MainWindow::pausePlayback);
    connect(m_slider, &QSlider::actionTriggered, this, &MainWindow::onSliderAction);
    connect(&m_playTimer, &QTimer::timeout, this, [this] { step(m_direction); });
    connect(m_defectStrip, &DefectStrip::frameClicked, this,
            [this](int index) { goToFrame(index, 0); });
    connect(m_defectStrip, &DefectStrip::previewRequested, this, &MainWindow::previewFrame);
    connect(m_defectStrip, &DefectStrip::previewHidden, this, &MainWindow::hidePreview);
    connect(m_frameView, &FrameView::frameEdited, this, [this] { onFrameEdited(0); });
    connect(m_strokeView, &StrokeView::frameEdited, this, [this] { onFrameEdited(0); });

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
    raise();
    activateWindow();
    alignDefectStrip();
    m_started = true;
    if (!m_startFile.isEmpty())
        m_toolPanel->openAnimation(std::exchange(m_startFile, QString()));
}

void MainWindow::openAtStart(const QString &path)
{
    if (m_started)
        m_toolPanel->openAnimation(path);
    else
        m_startFile = path;
}

void MainWindow::setVisibleView(int view)
{
    m_visibleView = view;
    if (view >= 0)
        m_views->setCurrentIndex(view);
}

void MainWindow::focusVisibleView()
{
    if (QWidget *view = m_views->currentWidget())
        view->setFocus();
}

int MainWindow::playbackIntervalMs() const
{
    return 1000 / currentRate();
}

int MainWindow::goToFrame(int index, int count)
{
    AnimationDocument &doc = m_toolPanel->document();
    if (!doc.isOpen())
        return 0;
    if (index < 0 || count < 0) {
        stopPlaybackIfEnabled();
        m_slider->setRange(0, 1);
        m_slider->setValue(0);
        m_slider->setEnabled(false);
        return 0;
    }
    m_slider->setEnabled(true);
    if (count > 0) {
        stopPlaybackIfEnabled();
        m_slider->setValue(0);
        m_slider->setRange(1, count);
        m_slider->setPageStep(SliderPageSize);
    }
    stopPlaybackIfEnabled();
    m_slider->setValue(index + 1);
    return showFrame(index, false, -1) ? 1 : 0;
}

bool MainWindow::showFrame(int index, bool forceReload, int view)
{
    AnimationDocument &doc = m_toolPanel->document();
    if (!doc.loadFrame(index, forceReload)) {
        m_prompts->showMessage(text::ReadFileDataError);
        return false;
    }
    m_toolPanel->propertyPanel().loadFrame(doc.currentIndex(), &doc.current().header);
    m_toolPanel->pipeAttributesPanel().load(doc.fileHeader());
    doc.deriveFrame(index);

    if (view == NoView)
        view = m_visibleView;
    if (view == FrameViewIndex) {
        m_toolPanel->graphicsPanel().resetForFrame();
        m_frameView->image().renderFrame(doc.current().samples.data(), doc.current().header.roll);
        m_frameView->setEditableHeader(&doc.current().header);
        FrameOverlay &overlay = m_frameView->overlay();
        overlay.setFrame(&doc.current().header, &doc.fileHeader(), doc.currentIndex(),
                         doc.frameCount());
        // The view's reset clears the rate; playback keeps showing it.
        overlay.fps = overlayFps();
        m_frameView->update();
    } else if (view == StrokeViewIndex) {
        showInStrokeView();
    } else if (view == PipeViewIndex) {
        m_pipeView->update();
    }
    return true;
}

void MainWindow::showInStrokeView()
{
    AnimationDocument &doc = m_toolPanel->document();
    const int index = doc.currentIndex();
    const DerivedFrames &derived = doc.derived();
    const bool known = index >= 0 && index < derived.size();
    StrokePanel &panel = m_toolPanel->strokePanel();
    m_strokeView->resetView();
    panel.releaseGridButton();
    panel.setMarkedFrame(index);
    FrameOverlay &overlay = m_strokeView->overlay();
    overlay.setFrame(&doc.current().header, &doc.fileHeader(), index, doc.frameCount());
    overlay.fps = overlayFps();
    overlay.averageSediment = doc.averageSediment();
    overlay.sedimentDepthMm = known ? derived.sedimentDepth()[static_cast<size_t>(index)] : -1;
    overlay.bottomLabelMode = true;
    m_strokeView->profile() = makeStrokeProfile(
        doc.current().header, known ? derived.peakPixels(index) : std::vector<uint32_t>());
    m_strokeView->setEditableHeader(&doc.current().header);
    panel.setLegendRange(50);
    m_strokeView->update();
}

void MainWindow::playForwards()
{
    play(1);
}

void MainWindow::playBackwards()
{
    play(0);
}

void MainWindow::play(int direction)
{
    if (!m_slider->isEnabled())
        return;
    m_direction = direction;
    m_playing = true;
    setOverlayFps(overlayFps());
    startPlayback();
}

void MainWindow::startPlayback()
{
    m_playTimer.start(playbackIntervalMs());
    m_toolPanel->propertyPanel().setReadOnly(true);
    setToolsLocked(true);
    m_playing = true;
}

void MainWindow::stopPlayback()
{
    m_playTimer.stop();
    setOverlayFps(0.0f);
    m_toolPanel->propertyPanel().setReadOnly(false);
    setToolsLocked(false);
    m_playing = false;
}

float MainWindow::overlayFps() const
{
    return m_playing ? static_cast<float>(currentRate()) : 0.0f;
}

void MainWindow::setToolsLocked(bool locked)
{
    m_frameView->setToolsLocked(locked);
    m_strokeView->setToolsLocked(locked);
}

void MainWindow::stopPlaybackIfEnabled()
{
    if (m_slider->isEnabled())
        stopPlayback();
}

void MainWindow::pausePlayback()
{
    stopPlaybackIfEnabled();
}

void MainWindow::setOverlayFps(float fps)
{
    m_frameView->overlay().fps = fps;
    m_strokeView->overlay().fps = fps;
    m_frameView->update();
    m_strokeView->update();
    m_pipeView->update();
}

void MainWindow::step(int direction)
{
    int p = m_slider->value() + (direction ? 1 : -1);
    if (p < 1) {
        stopPlayback();
        p = 1;
    }
    if (p > m_slider->maximum()) {
        p = m_slider->maximum();
        stopPlayback();
    }
    m_slider->setValue(p);
    m_slider->repaint();
    showFrame(p - 1, false, -1);
}

void MainWindow::onSliderAction()
{
    showFrame(m_slider->sliderPosition() - 1, false, -1);
}

void MainWindow::onSettingsChanged()
{
    AnimationDocument &doc = m_toolPanel->document();
    if (!doc.isOpen())
        return;
    if (m_playing)
        play(m_direction); // the new rate takes effect
    showFrame(doc.currentIndex(), false, -1);
}

void MainWindow::onFrameEdited(int state)
{
    AnimationDocument &doc = m_toolPanel->document();
    if (!doc.isOpen())
        return;
    if (state == 0) {
        doc.setModified(true);
        // The panel follows edits made elsewhere, such as the ruler's length.
        m_toolPanel->propertyPanel().loadFrame(doc.currentIndex(), &doc.current().header);
        m_toolPanel->refreshOverlays();
        setPlaybackControlsVisible(false);
    } else {
        setPlaybackControlsVisible(true);
    }
}

void MainWindow::setPlaybackControlsVisible(bool visible)
{
    for (QWidget *w :
         {static_cast<QWidget *>(m_backwardButton), static_cast<QWidget *>(m_pauseButton),
          static_cast<QWidget *>(m_forwardButton), static_cast<QWidget *>(m_slider),
          static_cast<QWidget *>(m_defectStrip)})
        w->setVisible(visible);
}

void MainWindow::applyToFrames(int kind, int value, const QPoint &circle)
{
    AnimationDocument &doc = m_toolPanel->document();
    if (!doc.isOpen())
        return;
    // A running playback would show frames while the survey is rewritten.
    goToFrame(doc.currentIndex(), 0);
    setEnabled(false);
    doc.applyToFrames(BulkEdit{kind, value, {circle.x(), circle.y()}, 0},
                      &m_toolPanel->progressWindow());
    if (doc.isOpen()) {
        onFrameEdited(1);
        m_toolPanel->progressWindow().setProgressText(text::ReadingData);
        m_toolPanel->refreshAfterDataChange();
        showFrame(doc.currentIndex(), true, -1);
    } else {
        // The survey could not be read back and was closed.
        setPlaybackControlsVisible(true);
        m_slider->setEnabled(false);
        m_toolPanel->clearViews();
    }
    setEnabled(true);
    raise();
    activateWindow();
}

void MainWindow::previewFrame(const QPoint &screenPoint, int index)
{
    AnimationDocument &doc = m_toolPanel->document();
    if (!doc.isOpen())
        return;
    if (index != m_preview->shownIndex()) {
        // Straight from the file: the current frame stays as it is.
        auto frame = std::make_unique<FrameRecord>();
        if (!doc.readFrame(index, *frame)) {
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

void MainWindow::onPipeDeviceLost()
{
    if (m_toolPanel->document().isOpen())
        m_toolPanel->refreshAfterDataChange();
}

void MainWindow::openSedimentChart()
{
    AnimationDocument &doc = m_toolPanel->document();
    if (!doc.isOpen())
        return;
    SedimentChartDialog chart(doc.derived().cableLengths(), doc.derived().sedimentDepth(),
                              doc.current().header.pipeRadius, this);
    chart.exec();
}

void MainWindow::deleteFrameRequested()
{
    AnimationDocument &doc = m_toolPanel->document();
    if (!doc.isOpen())
        return;
    goToFrame(doc.currentIndex(), 0);
    if (!doc.hasFile()) {
        m_prompts->showMessage(text::NoAnimationFileBehindData);
        return;
    }
    if (m_prompts->ask(358, MessageSink::Buttons::OkCancel) != MessageSink::Answer::Ok)
        return;
    const QString path = QString::fromStdString(doc.path());
    const int deleted = doc.currentIndex();
    if (!doc.deleteCurrentFrame(&m_toolPanel->progressWindow()))
        return;
    if (m_toolPanel->openAnimation(path))
        goToFrame(std::min(deleted, doc.frameCount() - 1), doc.frameCount());
    raise();
    activateWindow();
}

void MainWindow::reject()
{
    AnimationDocument &doc = m_toolPanel->document();
    if (!doc.isModified()) {
        if (m_prompts->ask(102, MessageSink::Buttons::OkCancel) != MessageSink::Answer::Ok)
            return;
    } else if (!m_toolPanel->savePrompt()) {
        return;
    }
    m_playTimer.stop();
    hidePreview();
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
    // A dropped file opens at once, without the save question.
    m_toolPanel->openAnimation(urls.front().toLocalFile());
}

bool MainWindow::handleShortcut(QKeyEvent *event, bool perform)
{
    if (!(event->modifiers() & Qt::ControlModifier))
        return false;
    const bool stepping = !m_playing && !m_toolPanel->document().isModified();
    switch (event->key()) {
    case Qt::Key_A:
    case Qt::Key_D:
        if (!stepping)
            return false;
        if (perform)
            step(event->key() == Qt::Key_D ? 1 : 0);
        return true;
    case Qt::Key_S:
        if (perform)
            m_toolPanel->saveChanges();
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
            if (handleShortcut(key, type == QEvent::KeyPress)) {
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
    alignDefectStrip();
}

void MainWindow::alignDefectStrip()
{
    // Marks line up with the centre of the slider's handle at each position.
    QStyleOptionSlider option;
    option.initFrom(m_slider);
    option.orientation = Qt::Horizontal;
    option.minimum = 0;
    option.maximum = 1;
    option.sliderPosition = 0;
    const QRect handle = m_slider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                           QStyle::SC_SliderHandle, m_slider);
    m_defectStrip->setMargin(handle.left() + handle.width() / 2);
}

} // namespace dorvane
