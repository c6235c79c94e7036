#pragma once

#include "core/assess/ConditionAssessment.h"
#include "ui/app/ToolPanel.h"

#include <QDialog>

class QLabel;
class QSlider;
class QStackedLayout;
class QToolButton;

namespace dorvane {

class AssessmentView;
class DefectStrip;
class FrameView;
class PipeRenderer;
class PipeView;
class PreviewPopup;
class StrokeView;
class SurveySession;
class UserPrompts;

// The program's main window: the three stacked views of the current frame,
// the playback bar beneath them and the tool panel with its side pages. It
// shows what the survey session says and passes the operator's requests on
// to it; the state of every control follows the session's facts.
class MainWindow : public QDialog
{
    Q_OBJECT

public:
    enum class View
    {
        None,
        Frame,
        Stroke,
        Pipe,
        Assessment
    };

    // Without prompts the window shows real message boxes and file dialogs.
    explicit MainWindow(UserPrompts *prompts = nullptr, QWidget *parent = nullptr);
    ~MainWindow() override;

    SurveySession &session() { return *m_session; }
    ToolPanel &toolPanel() { return *m_toolPanel; }
    FrameView &frameView() { return *m_frameView; }
    StrokeView &strokeView() { return *m_strokeView; }
    PipeView &pipeView() { return *m_pipeView; }
    AssessmentView &assessmentView() { return *m_assessmentView; }
    DefectStrip &defectStrip() { return *m_defectStrip; }
    QSlider &slider() { return *m_slider; }
    PreviewPopup &previewPopup() { return *m_preview; }

    View visibleView() const { return m_visibleView; }
    // Puts a view on top; the caller shows the current frame in it.
    void setVisibleView(View view);
    void focusVisibleView();

    // Shows a frame preview over the playback bar (screen point, frame).
    void previewFrame(const QPoint &screenPoint, int index);
    void hidePreview();
    void openSedimentChart();
    // The 3D page's renderer when it holds the survey's current model (for
    // the report's 3D views); null otherwise.
    PipeRenderer *currentPipeRenderer();
    // The 3D page draws its picture again (after someone else used its
    // renderer).
    void redrawPipeView();

    // The grading table chosen on the settings page changed.
    void gradingTableChanged();
    // The assessment as the page shows it (worked out when it shows).
    const ConditionAssessment &assessment() const { return m_assessment; }

    // Opens path once the window has started up.
    void openAtStart(const QString &path);
    // The page shown once the window has started up (and opened its file).
    void setStartPage(ToolPanel::Page page) { m_startPage = page; }

    // Moves the window, where a remembered place or a larger screen left it,
    // into the screen's available area: its top left corner always, all of
    // it when it fits.
    void keepOnScreen();

    // The line under the playback bar that tells what an operation left
    // (where an export was saved).
    void showStatus(const QString &text);
    QString statusText() const;

    // Closing (Esc, the close box): asks to exit, or to save pending edits.
    void reject() override;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void startUp();
    void applyControlState();
    void frameShown(int index);
    void frameEdited();
    void surveyChanged();
    void surveyClosed();
    // The survey's file name, "*" while it holds unsaved edits, and the
    // program's name.
    void updateTitle();
    void presentFrame();
    void presentInFrameView();
    void presentInStrokeView();
    void presentInPipeView();
    void presentInAssessmentView();
    // The 3D model of the survey as it is now; built when the 3D page shows.
    void buildPipeModel();
    void pipeDeviceLost();
    void applyOverlaySettings();
    void sliderMoved();
    int markPosition(int index, int count) const;
    // target: the widget the key goes to.
    bool handleShortcut(QKeyEvent *event, const QWidget *target, bool perform);

    SurveySession *m_session;
    PreviewPopup *m_preview;
    DefectStrip *m_defectStrip;
    QWidget *m_viewArea;
    QStackedLayout *m_views;
    FrameView *m_frameView;
    StrokeView *m_strokeView;
    PipeView *m_pipeView;
    AssessmentView *m_assessmentView;
    QToolButton *m_pauseButton;
    QToolButton *m_forwardButton;
    QToolButton *m_backwardButton;
    QSlider *m_slider;
    QLabel *m_statusLine;
    ToolPanel *m_toolPanel;
    View m_visibleView = View::None;
    bool m_started = false;
    bool m_pipeModelStale = true;
    bool m_centreViewpointPending = true;
    // The assessment is worked out again when its page shows after a change
    // of the derived values, of the pending edits or of the grading table.
    std::optional<GradingTable> m_grades;
    ConditionAssessment m_assessment;
    bool m_assessmentStale = true;
    bool m_assessedWhileModified = false;
    QString m_startFile;
    ToolPanel::Page m_startPage = ToolPanel::Page::Animation;
};

} // namespace dorvane
