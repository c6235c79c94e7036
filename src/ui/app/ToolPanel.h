#pragma once

#include "core/display/DibBlock.h"
#include "core/document/AnimationDocument.h"

#include <QWidget>
#include <array>

class QButtonGroup;
class QStackedWidget;
class QToolButton;

namespace dorvane {

class FramePropertyPanel;
class GraphicsPanel;
class MainWindow;
class PipeAttributesPanel;
class ProgressWindow;
class SettingsPanel;
class StrokePanel;
class UserPrompts;

// The toolbar of the main window with the side panels and the one survey
// document of the program. Its commands reach the main window through its
// direct calls.
class ToolPanel : public QWidget
{
    Q_OBJECT

public:
    enum class Page
    {
        Animation,
        Stroke,
        View3D,
        Properties,
        PipeAttributes,
        Settings
    };

    ToolPanel(MainWindow &window, UserPrompts &prompts);
    ~ToolPanel() override;

    AnimationDocument &document() { return m_document; }
    ProgressWindow &progressWindow() { return *m_progress; }
    QStackedWidget &sidePanels() { return *m_sidePanels; }
    FramePropertyPanel &propertyPanel() { return *m_propertyPanel; }
    PipeAttributesPanel &pipeAttributesPanel() { return *m_pipePanel; }
    SettingsPanel &settingsPanel() { return *m_settingsPanel; }
    GraphicsPanel &graphicsPanel() { return *m_graphicsPanel; }
    StrokePanel &strokePanel() { return *m_strokePanel; }
    // The survey's deviation map as a 24-bit bitmap block, for the 3D model.
    const DibBlock &mapBlock() const { return m_mapBlock; }

    // Opens a survey (toolbar, dropped file, start-up, after a deletion):
    // true when it is open and its first frame shown.
    bool openAnimation(const QString &path);
    // Asks whether to save pending edits: false when the operator cancels.
    bool savePrompt();
    void saveChanges();
    void discardChanges();
    // Survey-wide displays after the data changed.
    void refreshAfterDataChange();
    // Views and buttons after an edit, save or discard.
    void refreshOverlays();
    // Nothing shown: after the survey was closed.
    void clearViews();

    void switchPage(Page page);
    Page currentPage() const { return m_page; }
    void setSidePanelsEnabled(bool enabled);

private:
    QToolButton *addButton(const char *name, int textId, int icon, bool checkable);
    void openCommand();
    void saveAsCommand();
    void helpCommand();
    void aboutCommand();
    void stopPlayback();

    MainWindow &m_window;
    UserPrompts &m_prompts;
    AnimationDocument m_document;
    ProgressWindow *m_progress;
    QStackedWidget *m_sidePanels;
    GraphicsPanel *m_graphicsPanel;
    StrokePanel *m_strokePanel;
    QWidget *m_view3dPanel;
    FramePropertyPanel *m_propertyPanel;
    PipeAttributesPanel *m_pipePanel;
    SettingsPanel *m_settingsPanel;
    QButtonGroup *m_pageButtons;
    QToolButton *m_saveButton = nullptr;
    QToolButton *m_discardButton = nullptr;
    Page m_page = Page::Animation;
    DibBlock m_mapBlock{400, 1, 24};
};

} // namespace dorvane
