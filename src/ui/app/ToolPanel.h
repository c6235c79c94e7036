#pragma once

#include "ui/app/ExportCommands.h"
#include "ui/app/RecentSurveys.h"

#include <QWidget>

class QMenu;

class QButtonGroup;
class QStackedWidget;
class QToolButton;

namespace dorvane {

struct ControlState;
class AssessmentPanel;
class FramePropertyPanel;
class GraphicsPanel;
class LibraryPanel;
class MainWindow;
class PipeAttributesPanel;
class SettingsPanel;
class StrokePanel;
class SurveySession;
class View3dPanel;

// The toolbar of the main window with its side pages. Its buttons and pages
// ask the survey session for what they do, and the pages show what the
// session says about the survey.
class ToolPanel : public QWidget
{
    Q_OBJECT

public:
    enum class Page
    {
        Animation,
        Stroke,
        View3D,
        Assessment,
        Properties,
        PipeAttributes,
        Library,
        Settings
    };

    ToolPanel(MainWindow &window, SurveySession &session);
    ~ToolPanel() override;

    QStackedWidget &sidePanels() { return *m_sidePanels; }
    FramePropertyPanel &propertyPanel() { return *m_propertyPanel; }
    PipeAttributesPanel &pipeAttributesPanel() { return *m_pipePanel; }
    SettingsPanel &settingsPanel() { return *m_settingsPanel; }
    LibraryPanel &libraryPanel() { return *m_libraryPanel; }
    GraphicsPanel &graphicsPanel() { return *m_graphicsPanel; }
    StrokePanel &strokePanel() { return *m_strokePanel; }
    View3dPanel &view3dPanel() { return *m_view3dPanel; }
    AssessmentPanel &assessmentPanel() { return *m_assessmentPanel; }
    ExportCommands &exports() { return m_exports; }

    // The four view pages ask the save question first and show the current
    // frame again in their view; the tool pages only change the side page.
    void switchPage(Page page);
    Page currentPage() const { return m_page; }
    // The view page shown last (animation, stroke, 3D or assessment), under any tool page.
    Page viewPage() const { return m_viewPage; }
    static bool isViewPage(Page page);

    void applyControlState(const ControlState &state);

private:
    QToolButton *addButton(const char *name, int textId, int icon, bool checkable);
    void frameShown(int index);
    void frameEdited();
    void surveyChanged();
    void surveyClosed();
    void ensureDeviationMap();
    // Runs an acquire or an import window.
    template<typename Window>
    void runAcquisition();
    void helpCommand();
    // The recent surveys, newest first, each opening its file.
    void fillRecentMenu();
    void aboutCommand();

    MainWindow &m_window;
    SurveySession &m_session;
    QStackedWidget *m_sidePanels;
    GraphicsPanel *m_graphicsPanel;
    StrokePanel *m_strokePanel;
    View3dPanel *m_view3dPanel;
    AssessmentPanel *m_assessmentPanel;
    FramePropertyPanel *m_propertyPanel;
    PipeAttributesPanel *m_pipePanel;
    LibraryPanel *m_libraryPanel;
    SettingsPanel *m_settingsPanel;
    QButtonGroup *m_pageButtons;
    QMenu *m_recentMenu = nullptr;
    RecentSurveys m_recent;
    QToolButton *m_saveAsButton = nullptr;
    QToolButton *m_screenshotButton = nullptr;
    QToolButton *m_videoButton = nullptr;
    QToolButton *m_reportButton = nullptr;
    QToolButton *m_saveButton = nullptr;
    QToolButton *m_discardButton = nullptr;
    Page m_page = Page::Animation;
    Page m_viewPage = Page::Animation;
    // The deviation map is made when it is first needed after a change: a
    // long survey opens without waiting for it.
    bool m_mapStale = false;
    ExportCommands m_exports{m_window, m_session};
};

} // namespace dorvane
