#pragma once

#include "ui/widgets/ToolIcons.h"
#include "ui/widgets/UserPrompts.h"

#include <QDialog>
#include <cstdint>
#include <optional>
#include <string>

class QButtonGroup;
class QHBoxLayout;
class QStackedWidget;
class QToolButton;
class QVBoxLayout;

namespace dorvane {

class AnimationFileHeader;
class FramePropertyPanel;
class FrameView;
class GraphicsPanel;
struct FrameHeader;

// A dialog that shows one frame at a time in its own 500 x 500 view, beside
// pages chosen by tab buttons: the graphics panel acting on the view and the
// current properties, read-only. The acquire and import windows build on it:
// their controls go under the view, their own pages after the two.
class FrameViewDialog : public QDialog
{
    Q_OBJECT

public:
    FrameView &liveView() { return *m_view; }
    GraphicsPanel &graphicsPanel() { return *m_graphicsPanel; }
    FramePropertyPanel &propertyPanel() { return *m_propertyPanel; }

protected:
    static constexpr int GraphicsPage = 0;
    static constexpr int PropertiesPage = 1;

    // openSurvey: the survey the main window has open, which no new survey
    // may replace.
    FrameViewDialog(UserPrompts &prompts, const QString &openSurvey, QWidget *parent);

    UserPrompts &prompts() { return m_prompts; }
    // The file of a new survey, from the save dialog; the open survey, under
    // any name, is refused with a message. Nothing when refused or cancelled.
    std::optional<std::string> chooseNewSurvey();

    // A button with its icon over its text, which its tip repeats.
    QToolButton *commandButton(const char *name, int textId, ToolIcon icon);
    // Under the view, from the top.
    QVBoxLayout &controls() { return *m_controls; }
    // A page with its tab button; the number showPage takes.
    int addPage(const char *tabName, int textId, QWidget *page);
    QToolButton &tabButton(int page);
    // Checks its tab, shows the page and gives the view the focus.
    void showPage(int page);

    // The frame in the view: its samples turned by its roll, its headers,
    // title and notes as the settings say, and the sediment values given
    // (-1 shows none).
    void showFrame(const uint8_t *samples, const FrameHeader &header,
                   const AnimationFileHeader &fileHeader, int index, int count, int sediment);

    void keyPressEvent(QKeyEvent *event) override;

private:
    UserPrompts &m_prompts;
    QString m_openSurvey;
    FrameView *m_view;
    GraphicsPanel *m_graphicsPanel;
    FramePropertyPanel *m_propertyPanel;
    QStackedWidget *m_pages;
    QButtonGroup *m_tabs;
    QVBoxLayout *m_controls;
    QHBoxLayout *m_tabRow;
};

} // namespace dorvane
