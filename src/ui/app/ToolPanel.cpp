#include "ui/app/ToolPanel.h"

#include "core/app/ProgramPaths.h"
#include "core/app/TextIds.h"
#include "ui/app/AboutDialog.h"
#include "ui/app/MainWindow.h"
#include "ui/app/PipeAttributesPanel.h"
#include "ui/app/ProgressWindow.h"
#include "ui/app/SettingsPanel.h"
#include "ui/app/UserPrompts.h"
#include "ui/display/DefectStrip.h"
#include "ui/display/FramePropertyPanel.h"
#include "ui/display/FrameView.h"
#include "ui/display/GraphicsPanel.h"
#include "ui/display/StrokePanel.h"
#include "ui/display/StrokeView.h"
#include "ui/widgets/ToolIcons.h"
#include "ui/widgets/UiText.h"

#include <QButtonGroup>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QMenu>
#include <QStackedWidget>
#include <QToolButton>
#include <QUrl>

namespace dorvane {

namespace {
constexpr int ButtonWidth = 54;

const UserPrompts::FileDialog OpenAnimationDialog{"File to load",
                                                  "Image Video (*.Imv);;All files (*)", "Imv"};
const UserPrompts::FileDialog SaveAnimationDialog{"File to save",
                                                  "Image Video (*.Imv);;All files (*)", "Imv"};

QWidget *emptyPanel(const char *name, QWidget *parent)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(name);
    return panel;
}
} // namespace

ToolPanel::ToolPanel(MainWindow &window, UserPrompts &prompts)
    : QWidget(&window), m_window(window), m_prompts(prompts), m_document(prompts),
      m_progress(new ProgressWindow(&window)), m_sidePanels(new QStackedWidget(&window)),
      m_graphicsPanel(new GraphicsPanel(window.frameView(), m_sidePanels)),
      m_strokePanel(new StrokePanel(window.strokeView(), m_sidePanels)),
      m_view3dPanel(emptyPanel("view3dPanel", m_sidePanels)),
      m_propertyPanel(new FramePropertyPanel(prompts, m_sidePanels)),
      m_pipePanel(new PipeAttributesPanel(m_sidePanels)),
      m_settingsPanel(new SettingsPanel(prompts, m_sidePanels)),
      m_pageButtons(new QButtonGroup(this))
{
    setObjectName("toolPanel");
    m_sidePanels->setObjectName("sidePanels");
    m_sidePanels->setFixedWidth(340);
    for (QWidget *panel :
         std::initializer_list<QWidget *>{m_graphicsPanel, m_strokePanel, m_view3dPanel,
                                          m_propertyPanel, m_pipePanel, m_settingsPanel})
        m_sidePanels->addWidget(panel);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const auto later = [](QToolButton *button) { button->setEnabled(false); };
    later(addButton("acquireButton", 208, static_cast<int>(ToolIcon::Acquire), false));
    later(addButton("importButton", 209, static_cast<int>(ToolIcon::Import), false));
    connect(addButton("openButton", 210, static_cast<int>(ToolIcon::Open), false),
            &QToolButton::clicked, this, &ToolPanel::openCommand);
    connect(addButton("saveAsButton", 211, static_cast<int>(ToolIcon::SaveAs), false),
            &QToolButton::clicked, this, &ToolPanel::saveAsCommand);
    later(addButton("screenshotButton", 212, static_cast<int>(ToolIcon::Screenshot), false));
    later(addButton("videoButton", 213, static_cast<int>(ToolIcon::Video), false));
    later(addButton("reportButton", 216, static_cast<int>(ToolIcon::Report), false));
    const struct
    {
        const char *name;
        int text;
        ToolIcon icon;
        Page page;
    } pages[] = {
        {"animationPageButton", 219, ToolIcon::AnimationView, Page::Animation},
        {"strokePageButton", 220, ToolIcon::StrokeView, Page::Stroke},
        {"view3dPageButton", 221, ToolIcon::View3D, Page::View3D},
        {"propertiesPageButton", 222, ToolIcon::Properties, Page::Properties},
        {"pipeAttributesPageButton", 224, ToolIcon::PipeAttributes, Page::PipeAttributes},
        {"settingsPageButton", 223, ToolIcon::Settings, Page::Settings},
    };
    for (const auto &page : pages) {
        QToolButton *button = addButton(page.name, page.text, static_cast<int>(page.icon), true);
        m_pageButtons->addButton(button, static_cast<int>(page.page));
        const Page target = page.page;
        connect(button, &QToolButton::clicked, this, [this, target] {
            stopPlayback();
            switchPage(target);
        });
    }
    m_pageButtons->setExclusive(true);

    QToolButton *help = addButton("helpButton", 225, static_cast<int>(ToolIcon::Help), false);
    connect(help, &QToolButton::clicked, this, &ToolPanel::helpCommand);
    auto *helpMenu = new QMenu(help);
    // The about item always comes from the built-in table.
    helpMenu->addAction(builtinUiText(101), this, &ToolPanel::aboutCommand);
    help->setMenu(helpMenu);
    help->setPopupMode(QToolButton::MenuButtonPopup);
    help->setFixedWidth(ButtonWidth + 14);

    m_saveButton = addButton("saveButton", 214, static_cast<int>(ToolIcon::Save), false);
    m_saveButton->setToolTip(uiText(217));
    connect(m_saveButton, &QToolButton::clicked, this, &ToolPanel::saveChanges);
    m_discardButton = addButton("discardButton", 215, static_cast<int>(ToolIcon::Discard), false);
    connect(m_discardButton, &QToolButton::clicked, this, &ToolPanel::discardChanges);
    layout->addStretch();

    connect(m_pipePanel, &PipeAttributesPanel::edited, this, [this] { m_window.onFrameEdited(0); });
    connect(m_propertyPanel, &FramePropertyPanel::frameEdited, this,
            [this] { m_window.onFrameEdited(0); });
    connect(m_propertyPanel, &FramePropertyPanel::applyRequested, this,
            [this](int kind, int value, const QPoint &circle) {
                m_window.applyToFrames(kind, value, circle);
            });
    connect(m_propertyPanel, &FramePropertyPanel::deleteRequested, this,
            [this] { m_window.deleteFrameRequested(); });
    connect(m_strokePanel, &StrokePanel::frameClicked, this,
            [this](int frame) { m_window.goToFrame(frame, 0); });
    connect(m_strokePanel, &StrokePanel::chartRequested, this,
            [this] { m_window.openSedimentChart(); });
    connect(m_settingsPanel, &SettingsPanel::settingsChanged, this,
            [this] { m_window.onSettingsChanged(); });

    m_propertyPanel->loadFrame(m_document.currentIndex(), &m_document.current().header);
    m_pipePanel->load(m_document.fileHeader());
    setSidePanelsEnabled(false);
    refreshOverlays();
}

ToolPanel::~ToolPanel() = default;

QToolButton *ToolPanel::addButton(const char *name, int textId, int icon, bool checkable)
{
    auto *button = new QToolButton(this);
    button->setObjectName(name);
    button->setText(uiText(textId));
    button->setIcon(toolIcon(static_cast<ToolIcon>(icon)));
    button->setIconSize(QSize(28, 28));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setCheckable(checkable);
    button->setAutoRaise(true);
    button->setFixedWidth(ButtonWidth);
    layout()->addWidget(button);
    return button;
}

void ToolPanel::stopPlayback()
{
    m_window.goToFrame(m_document.currentIndex(), 0);
}

void ToolPanel::setSidePanelsEnabled(bool enabled)
{
    for (QWidget *panel : std::initializer_list<QWidget *>{
             m_graphicsPanel, m_strokePanel, m_view3dPanel, m_propertyPanel, m_pipePanel})
        panel->setEnabled(enabled);
}

void ToolPanel::openCommand()
{
    stopPlayback();
    if (!savePrompt())
        return;
    const auto path = m_prompts.openFileName(OpenAnimationDialog);
    if (!path)
        return;
    openAnimation(*path);
    m_window.raise();
    m_window.activateWindow();
}

void ToolPanel::clearViews()
{
    m_window.defectStrip().clear();
    m_window.frameView().resetView();
    m_window.strokeView().resetView();
    m_propertyPanel->clear();
}

void ToolPanel::saveAsCommand()
{
    stopPlayback();
    if (!m_document.isOpen() || !savePrompt())
        return;
    if (!m_document.hasFile()) {
        m_prompts.showMessage(text::NoAnimationFileBehindData);
        return;
    }
    const auto path = m_prompts.saveFileName(SaveAnimationDialog);
    if (!path)
        return;
    m_progress->setProgressText(text::SavingData);
    m_window.setEnabled(false);
    const bool saved = m_document.copyAnimation(path->toStdString(), m_progress, -1);
    m_window.setEnabled(true);
    if (saved) {
        m_window.raise();
        m_window.activateWindow();
    }
}

bool ToolPanel::openAnimation(const QString &path)
{
    m_window.goToFrame(-1, -1);
    // Opening starts by closing the survey shown: nothing may keep drawing
    // its frame while the new one loads, or after a failed open.
    clearViews();
    m_window.setEnabled(false);
    m_progress->setProgressText(text::ReadingData);
    if (!m_document.open(path.toStdString(), m_progress)) {
        m_window.setEnabled(true);
        return false;
    }
    refreshAfterDataChange();
    setSidePanelsEnabled(true);
    m_window.setEnabled(true);
    m_window.goToFrame(0, m_document.frameCount());
    return true;
}

bool ToolPanel::savePrompt()
{
    if (!m_document.isModified())
        return true;
    switch (m_prompts.ask(text::DataChangedSave, MessageSink::Buttons::YesNoCancel)) {
    case MessageSink::Answer::Yes:
        saveChanges();
        return true;
    case MessageSink::Answer::No:
        discardChanges();
        return true;
    default:
        return false;
    }
}

void ToolPanel::saveChanges()
{
    stopPlayback();
    if (!m_document.isOpen())
        return;
    // A failed save leaves the edits pending; the document has said why.
    if (!m_document.saveCurrent(true))
        return;
    m_window.onFrameEdited(1);
    m_window.showFrame(m_document.currentIndex(), true, -1);
    refreshAfterDataChange();
    refreshOverlays();
}

void ToolPanel::discardChanges()
{
    stopPlayback();
    if (!m_document.isOpen())
        return;
    m_document.setModified(false);
    m_window.showFrame(m_document.currentIndex(), true, -1);
    m_window.onFrameEdited(1);
    refreshOverlays();
}

void ToolPanel::refreshAfterDataChange()
{
    if (!m_document.isOpen())
        return;
    m_window.defectStrip().setFlags(m_document.derived().defectFlags());
    m_strokePanel->buildDeviationMap(m_document.derived(), m_document.currentIndex());
    m_mapBlock = m_strokePanel->writeMapBlock();
    m_progress->setProgressText(138);
}

void ToolPanel::refreshOverlays()
{
    // The stroke view follows the circle and the band of the edited header.
    StrokeProfile &profile = m_window.strokeView().profile();
    profile = makeStrokeProfile(m_document.current().header, std::move(profile.points));
    m_window.frameView().update();
    m_window.strokeView().update();
    const bool modified = m_document.isModified();
    m_saveButton->setVisible(modified);
    m_discardButton->setVisible(modified);
    m_window.defectStrip().update();
}

void ToolPanel::switchPage(Page page)
{
    const bool isView = page == Page::Animation || page == Page::Stroke || page == Page::View3D;
    if (isView && !savePrompt()) {
        // Keep the pressed button on the page that stays.
        if (QAbstractButton *current = m_pageButtons->button(static_cast<int>(m_page)))
            current->setChecked(true);
        return;
    }
    m_page = page;
    m_sidePanels->setCurrentIndex(static_cast<int>(page));
    m_pageButtons->button(static_cast<int>(page))->setChecked(true);
    if (isView) {
        m_window.setVisibleView(static_cast<int>(page));
        if (m_document.isOpen())
            m_window.showFrame(m_document.currentIndex(), true, -1);
    }
    m_window.focusVisibleView();
}

void ToolPanel::helpCommand()
{
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(QString::fromStdString(programFolder()) + "help/index.html"));
}

void ToolPanel::aboutCommand()
{
    AboutDialog about(&m_window);
    about.exec();
}

} // namespace dorvane
