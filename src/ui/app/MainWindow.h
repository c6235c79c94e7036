#pragma once

#include <QDialog>
#include <QTimer>
#include <memory>

class QSlider;
class QStackedLayout;
class QToolButton;

namespace dorvane {

class DefectStrip;
class FrameView;
class PreviewPopup;
class StrokeView;
class ToolPanel;
class UserPrompts;

// The program's main window: the three stacked views of the current frame,
// the playback bar beneath them and the tool panel with its side pages.
// Panels and views reach it through its direct calls; every frame reaches the
// screen through showFrame.
class MainWindow : public QDialog
{
    Q_OBJECT

public:
    enum View
    {
        NoView = -1,
        FrameViewIndex = 0,
        StrokeViewIndex = 1,
        PipeViewIndex = 2
    };

    // Without prompts the window shows real message boxes and file dialogs.
    explicit MainWindow(UserPrompts *prompts = nullptr, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Go to frame index (count > 0 also resets the slider to 1..count);
    // negative values stop playback and disable the slider. Only while a
    // survey is open.
    int goToFrame(int index, int count);
    void onSettingsChanged();
    // 0: data edited (the survey is modified); 1: saved or discarded.
    void onFrameEdited(int state);
    void applyToFrames(int kind, int value, const QPoint &circle);
    void previewFrame(const QPoint &screenPoint, int index);
    void hidePreview();
    void onPipeDeviceLost();
    void openSedimentChart();
    void deleteFrameRequested();

    // Loads frame index and hands it to a view (-1: the visible one).
    bool showFrame(int index, bool forceReload, int view);
    void playForwards();
    void playBackwards();
    void pausePlayback();
    // One frame on (1) or back (0); stops at either end.
    void step(int direction);

    bool isPlaying() const { return m_playing; }
    int direction() const { return m_direction; }
    int visibleView() const { return m_visibleView; }
    void setVisibleView(int view);
    void focusVisibleView();
    int playbackIntervalMs() const;

    ToolPanel &toolPanel() { return *m_toolPanel; }
    FrameView &frameView() { return *m_frameView; }
    StrokeView &strokeView() { return *m_strokeView; }
    DefectStrip &defectStrip() { return *m_defectStrip; }
    QSlider &slider() { return *m_slider; }
    PreviewPopup &previewPopup() { return *m_preview; }
    UserPrompts &prompts() { return *m_prompts; }

    // Opens path once the window has started up.
    void openAtStart(const QString &path);

    // Closing (Esc, the close box): asks to exit, or to save pending edits.
    void reject() override;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void startUp();
    void startPlayback();
    void stopPlayback();
    void stopPlaybackIfEnabled();
    void play(int direction);
    void setOverlayFps(float fps);
    // The rate the overlays show: the playback rate while playing, else none.
    float overlayFps() const;
    void onSliderAction();
    void setPlaybackControlsVisible(bool visible);
    void showInStrokeView();
    void setToolsLocked(bool locked);
    void alignDefectStrip();
    bool handleShortcut(QKeyEvent *event, bool perform);

    std::unique_ptr<UserPrompts> m_ownPrompts;
    UserPrompts *m_prompts;
    PreviewPopup *m_preview;
    DefectStrip *m_defectStrip;
    QWidget *m_viewArea;
    QStackedLayout *m_views;
    FrameView *m_frameView;
    StrokeView *m_strokeView;
    QWidget *m_pipeView;
    QToolButton *m_pauseButton;
    QToolButton *m_forwardButton;
    QToolButton *m_backwardButton;
    QSlider *m_slider;
    ToolPanel *m_toolPanel;
    QTimer m_playTimer;
    bool m_playing = false;
    int m_direction = 1;
    int m_visibleView = NoView;
    bool m_started = false;
    QString m_startFile;
};

} // namespace dorvane
