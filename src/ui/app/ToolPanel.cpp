#include "ui/app/ToolPanel.h"

#include "core/app/ProgramPaths.h"
#include "core/app/TextIds.h"
#include "core/app/TextService.h"
#include "core/display/DeviationMap.h"
#include "ui/acquire/AcquireWindow.h"
#include "ui/acquire/ImportWindow.h"
#include "ui/app/AboutDialog.h"
#include "ui/app/ControlState.h"
#include "ui/app/MainWindow.h"
#include "ui/app/PipeAttributesPanel.h"
#include "ui/app/SettingsPanel.h"
#include "ui/app/SurveySession.h"
#include "ui/display/AssessmentPanel.h"
#include "ui/display/FramePropertyPanel.h"
#include "ui/display/FrameView.h"
#include "ui/display/GraphicsPanel.h"
#include "ui/display/StrokePanel.h"
#include "ui/display/StrokeView.h"
#include "ui/library/LibraryPanel.h"
#include "ui/view3d/View3dPanel.h"
#include "ui/widgets/ToolIcons.h"
#include "ui/widgets/UiText.h"
#include "ui/widgets/UserPrompts.h"

#include <QAction>
#include <QButtonGroup>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QMenu>
#include <QStackedWidget>
#include <QToolButton>
#include <QUrl>

namespace dorvane {

namespace {

constexpr int ButtonWidth = 54;

// A text too wide for a button goes on two lines, broken at the space
// nearest its middle, so the toolbar stays narrow in every language.
QString toolbarLabel(const QString &text, const QFontMetrics &metrics)
{
    if (metrics.horizontalAdvance(text) <= ButtonWidth)
        return text;
    int best = -1;
    for (int i = text.indexOf(' '); i >= 0; i = text.indexOf(' ', i + 1))
        if (best < 0 || std::abs(2 * i - text.size()) < std::abs(2 * best - text.size()))
            best = i;
    if (best < 0)
        return text;
    return text.left(best) + '\n' + text.mid(best + 1);
}

// A button that may hide keeps its place, so the toolbar does not move.
void keepPlaceWhenHidden(QWidget *widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

MainWindow::View viewOf(ToolPanel::Page page)
{
    switch (page) {
    case ToolPanel::Page::Animation:
        return MainWindow::View::Frame;
    case ToolPanel::Page::Stroke:
        return MainWindow::View::Stroke;
    case ToolPanel::Page::View3D:
        return MainWindow::View::Pipe;
    case ToolPanel::Page::Assessment:
        return MainWindow::View::Assessment;
    default:
        return MainWindow::View::None;
    }
}

} // namespace

bool ToolPanel::isViewPage(Page page)
{
    return page == Page::Animation || page == Page::Stroke || page == Page::View3D ||
           page == Page::Assessment;
}

ToolPanel::ToolPanel(MainWindow &window, SurveySession &session)
    : QWidget(&window), m_window(window), m_session(session),
      m_sidePanels(new QStackedWidget(&window)),
      m_graphicsPanel(new GraphicsPanel(window.frameView(), m_sidePanels)),
      m_strokePanel(new StrokePanel(window.strokeView(), m_sidePanels)),
      m_view3dPanel(new View3dPanel(window.pipeView(), m_sidePanels)),
      m_assessmentPanel(new AssessmentPanel(m_sidePanels)),
      m_propertyPanel(new FramePropertyPanel(session.prompts(), m_sidePanels)),
      m_pipePanel(new PipeAttributesPanel(m_sidePanels)),
      m_libraryPanel(new LibraryPanel(session.prompts(), m_sidePanels)),
      m_settingsPanel(new SettingsPanel(session.prompts(), m_sidePanels)),
      m_pageButtons(new QButtonGroup(this))
{
    setObjectName("toolPanel");
    m_sidePanels->setObjectName("sidePanels");
    // At least as wide as the pictures on the pages, wider when the toolbar
    // above needs the room.
    m_sidePanels->setMinimumWidth(340);
    for (QWidget *panel : std::initializer_list<QWidget *>{
             m_graphicsPanel, m_strokePanel, m_view3dPanel, m_assessmentPanel, m_propertyPanel,
             m_pipePanel, m_libraryPanel, m_settingsPanel})
        m_sidePanels->addWidget(panel);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QToolButton *acquire =
        addButton("acquireButton", text::AcquireData, static_cast<int>(ToolIcon::Acquire), false);
    connect(acquire, &QToolButton::clicked, this, [this] { runAcquisition<AcquireWindow>(); });
    QToolButton *import =
        addButton("importButton", text::ImportData, static_cast<int>(ToolIcon::Import), false);
    connect(import, &QToolButton::clicked, this, [this] { runAcquisition<ImportWindow>(); });
    QToolButton *open =
        addButton("openButton", text::OpenAnimation, static_cast<int>(ToolIcon::Open), false);
    connect(open, &QToolButton::clicked, &session, &SurveySession::openFromDialog);
    // The surveys opened last, on the open button's arrow.
    m_recentMenu = new QMenu(open);
    m_recentMenu->setObjectName("recentSurveysMenu");
    open->setMenu(m_recentMenu);
    open->setPopupMode(QToolButton::MenuButtonPopup);
    connect(m_recentMenu, &QMenu::aboutToShow, this, &ToolPanel::fillRecentMenu);
    connect(&session, &SurveySession::opened, this,
            [this] { m_recent.add(m_session.openedFile()); });
    m_saveAsButton =
        addButton("saveAsButton", text::SaveDataAs, static_cast<int>(ToolIcon::SaveAs), false);
    connect(m_saveAsButton, &QToolButton::clicked, &session, &SurveySession::saveAsFromDialog);
    m_screenshotButton = addButton("screenshotButton", text::ViewScreenshot,
                                   static_cast<int>(ToolIcon::Screenshot), false);
    connect(m_screenshotButton, &QToolButton::clicked, this, [this] { m_exports.exportImage(); });
    m_videoButton =
        addButton("videoButton", text::ExportVideo, static_cast<int>(ToolIcon::Video), false);
    connect(m_videoButton, &QToolButton::clicked, this, [this] { m_exports.exportVideo(); });
    m_reportButton =
        addButton("reportButton", text::GenerateReport, static_cast<int>(ToolIcon::Report), false);
    connect(m_reportButton, &QToolButton::clicked, this, [this] { m_exports.exportReport(); });
    const struct
    {
        const char *name;
        int text;
        ToolIcon icon;
        Page page;
    } pages[] = {
        {"animationPageButton", text::AnimationView, ToolIcon::AnimationView, Page::Animation},
        {"strokePageButton", text::StrokeView, ToolIcon::StrokeView, Page::Stroke},
        {"view3dPageButton", text::View3d, ToolIcon::View3D, Page::View3D},
        {"assessmentPageButton", text::AssessmentView, ToolIcon::Assessment, Page::Assessment},
        {"propertiesPageButton", text::CurrentProperties, ToolIcon::Properties, Page::Properties},
        {"pipeAttributesPageButton", text::PipeAttributes, ToolIcon::PipeAttributes,
         Page::PipeAttributes},
        {"libraryPageButton", text::LibraryView, ToolIcon::Library, Page::Library},
        {"settingsPageButton", text::SystemSettings, ToolIcon::Settings, Page::Settings},
    };
    for (const auto &page : pages) {
        QToolButton *button = addButton(page.name, page.text, static_cast<int>(page.icon), true);
        m_pageButtons->addButton(button, static_cast<int>(page.page));
        const Page target = page.page;
        connect(button, &QToolButton::clicked, this, [this, target] { switchPage(target); });
    }
    m_pageButtons->setExclusive(true);

    QToolButton *help =
        addButton("helpButton", text::HelpTopics, static_cast<int>(ToolIcon::Help), false);
    connect(help, &QToolButton::clicked, this, &ToolPanel::helpCommand);
    auto *helpMenu = new QMenu(help);
    // The about item always comes from the built-in table.
    helpMenu->addAction(builtinUiText(text::AboutMenuItem), this, &ToolPanel::aboutCommand);
    help->setMenu(helpMenu);
    help->setPopupMode(QToolButton::MenuButtonPopup);

    m_saveButton =
        addButton("saveButton", text::SaveChanges, static_cast<int>(ToolIcon::Save), false);
    // The tip's text names the key already.
    m_saveButton->setToolTip(uiText(text::SaveChangesTip));
    connect(m_saveButton, &QToolButton::clicked, &session, &SurveySession::save);
    m_discardButton = addButton("discardButton", text::DiscardChanges,
                                static_cast<int>(ToolIcon::Discard), false);
    connect(m_discardButton, &QToolButton::clicked, &session, &SurveySession::discard);
    keepPlaceWhenHidden(m_saveButton);
    keepPlaceWhenHidden(m_discardButton);
    layout->addStretch();

    // The pages ask the session for every change.
    connect(m_pipePanel, &PipeAttributesPanel::editRequested, &session,
            &SurveySession::editPipeAttributes);
    connect(m_propertyPanel, &FramePropertyPanel::editRequested, &session,
            &SurveySession::editFrame);
    connect(m_propertyPanel, &FramePropertyPanel::applyRequested, &session,
            &SurveySession::applyToFrames);
    connect(m_propertyPanel, &FramePropertyPanel::deleteRequested, &session,
            &SurveySession::deleteCurrentFrame);
    connect(m_strokePanel, &StrokePanel::frameClicked, &session, &SurveySession::goToFrame);
    connect(m_strokePanel, &StrokePanel::chartRequested, &window, &MainWindow::openSedimentChart);
    connect(m_settingsPanel, &SettingsPanel::settingsChanged, &session,
            &SurveySession::settingsChanged);
    connect(m_settingsPanel, &SettingsPanel::gradingTableChanged, &window,
            &MainWindow::gradingTableChanged);
    connect(m_assessmentPanel, &AssessmentPanel::frameClicked, &session, &SurveySession::goToFrame);
    connect(m_libraryPanel, &LibraryPanel::openRequested, &session, &SurveySession::openFile);
    for (const auto signal : {&SurveySession::opened, &SurveySession::closed})
        connect(&session, signal, this, [this] {
            m_libraryPanel->setOpenSurvey(m_session.isOpen() ? m_session.openedFile() : QString());
        });

    // And show what it says.
    connect(&session, &SurveySession::frameShown, this, &ToolPanel::frameShown);
    connect(&session, &SurveySession::frameEdited, this, &ToolPanel::frameEdited);
    connect(&session, &SurveySession::surveyChanged, this, &ToolPanel::surveyChanged);
    connect(&session, &SurveySession::closed, this, &ToolPanel::surveyClosed);
}

ToolPanel::~ToolPanel() = default;

QToolButton *ToolPanel::addButton(const char *name, int textId, int icon, bool checkable)
{
    auto *button = new QToolButton(this);
    button->setObjectName(name);
    const QString text = uiText(textId);
    button->setText(toolbarLabel(text, button->fontMetrics()));
    // The full text on one line.
    button->setToolTip(text);
    button->setIcon(toolIcon(static_cast<ToolIcon>(icon)));
    button->setIconSize(QSize(28, 28));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setCheckable(checkable);
    button->setAutoRaise(true);
    button->setMinimumWidth(ButtonWidth);
    layout()->addWidget(button);
    return button;
}

void ToolPanel::applyControlState(const ControlState &state)
{
    m_saveButton->setVisible(state.saveShown);
    m_discardButton->setVisible(state.saveShown);
    m_saveAsButton->setEnabled(state.saveAsEnabled);
    m_screenshotButton->setEnabled(state.exportsEnabled);
    m_videoButton->setEnabled(state.exportsEnabled);
    m_reportButton->setEnabled(state.exportsEnabled);
    for (QWidget *panel :
         std::initializer_list<QWidget *>{m_graphicsPanel, m_strokePanel, m_view3dPanel,
                                          m_assessmentPanel, m_propertyPanel, m_pipePanel})
        panel->setEnabled(state.surveyPanelsEnabled);
    m_propertyPanel->setReadOnly(state.propertiesReadOnly);
    m_pipePanel->setReadOnly(state.pipeAttributesReadOnly);
}

void ToolPanel::frameShown(int index)
{
    m_propertyPanel->loadFrame(index, m_session.currentFrame().header);
    m_pipePanel->load(m_session.fileHeader());
    m_strokePanel->setMarkedFrame(index);
}

void ToolPanel::frameEdited()
{
    // The pages follow edits made elsewhere, such as the ruler's length.
    m_propertyPanel->loadFrame(m_session.currentIndex(), m_session.currentFrame().header);
    m_pipePanel->load(m_session.fileHeader());
}

void ToolPanel::surveyChanged()
{
    m_mapStale = true;
    if (m_page == Page::Stroke)
        ensureDeviationMap();
}

void ToolPanel::ensureDeviationMap()
{
    if (!std::exchange(m_mapStale, false))
        return;
    m_strokePanel->buildDeviationMap(m_session.derived().radiusProfiles(),
                                     m_session.currentIndex());
}

void ToolPanel::surveyClosed()
{
    m_propertyPanel->clear();
    m_pipePanel->clear();
    m_strokePanel->clear();
    m_mapStale = false;
}

void ToolPanel::switchPage(Page page)
{
    m_session.pause();
    const bool isView = isViewPage(page);
    if (isView && !m_session.savePrompt()) {
        // Keep the pressed button on the page that stays.
        if (QAbstractButton *current = m_pageButtons->button(static_cast<int>(m_page)))
            current->setChecked(true);
        return;
    }
    m_page = page;
    if (page == Page::Stroke)
        ensureDeviationMap();
    m_sidePanels->setCurrentIndex(static_cast<int>(page));
    m_pageButtons->button(static_cast<int>(page))->setChecked(true);
    if (isView) {
        m_viewPage = page;
        m_window.setVisibleView(viewOf(page));
        m_session.showCurrentFrame(SurveySession::Reload::Force);
    }
    m_window.focusVisibleView();
}

template<typename Window>
void ToolPanel::runAcquisition()
{
    if (!m_session.prepareForOtherWork())
        return;
    // The recorded or imported survey stays on disk; it is not opened here.
    Window window(m_session.prompts(), m_session.openedFile(), &m_window);
    window.exec();
}

void ToolPanel::fillRecentMenu()
{
    m_recentMenu->clear();
    const QStringList files = m_recent.files();
    if (files.isEmpty())
        m_recentMenu->addAction(uiText(text::NoRecentSurveys))->setEnabled(false);
    for (const QString &file : files) {
        QAction *action = m_recentMenu->addAction(QFileInfo(file).fileName());
        action->setToolTip(file);
        action->setData(file);
        connect(action, &QAction::triggered, this, [this, file] {
            // A survey moved or deleted since leaves the list once it fails.
            if (!m_session.openFile(file) && !QFileInfo::exists(file))
                m_recent.remove(file);
        });
    }
}

void ToolPanel::helpCommand()
{
    m_session.pause();
    // Without a browser the click would otherwise do nothing at all.
    // The manual in the language the program shows.
    const std::string manual = manualPath(shownLanguage());
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(manual))))
        m_session.prompts().showMessage(text::HelpNotOpened, manual);
}

void ToolPanel::aboutCommand()
{
    AboutDialog about(&m_window);
    about.exec();
}

} // namespace dorvane
