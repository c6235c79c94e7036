#include "ui/acquire/FrameViewDialog.h"

#include "core/app/Settings.h"
#include "core/app/TextIds.h"
#include "core/base/SameFile.h"
#include "core/data/AnimationFileHeader.h"
#include "core/data/FrameHeader.h"
#include "render/FrameOverlay.h"
#include "ui/display/FramePropertyPanel.h"
#include "ui/display/FrameView.h"
#include "ui/display/GraphicsPanel.h"
#include "ui/widgets/FileDialogs.h"
#include "ui/widgets/UiText.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace dorvane {

namespace {} // namespace

FrameViewDialog::FrameViewDialog(UserPrompts &prompts, const QString &openSurvey, QWidget *parent)
    : QDialog(parent), m_prompts(prompts), m_openSurvey(openSurvey), m_view(new FrameView(this)),
      m_pages(new QStackedWidget(this)), m_tabs(new QButtonGroup(this)),
      m_controls(new QVBoxLayout), m_tabRow(new QHBoxLayout)
{
    m_view->setObjectName("liveView");
    m_view->setToolsLocked(true);
    m_graphicsPanel = new GraphicsPanel(*m_view, m_pages);
    m_propertyPanel = new FramePropertyPanel(prompts, m_pages);
    m_propertyPanel->setReadOnly(true);
    m_tabs->setExclusive(true);
    addPage("graphicsTab", text::GraphicsControl, m_graphicsPanel);
    addPage("propertiesTab", text::CurrentProperties, m_propertyPanel);
    // One width for every page, wider where a language's texts need it.
    m_pages->setFixedWidth(std::max(340, m_pages->minimumSizeHint().width()));

    auto *left = new QVBoxLayout;
    left->addWidget(m_view);
    left->addLayout(m_controls);
    left->addStretch();
    auto *right = new QVBoxLayout;
    m_tabRow->addStretch();
    right->addLayout(m_tabRow);
    right->addWidget(m_pages, 1);
    auto *root = new QHBoxLayout(this);
    root->addLayout(left);
    root->addLayout(right);

    connect(m_tabs, &QButtonGroup::idClicked, this, &FrameViewDialog::showPage);
    showPage(GraphicsPage);
}

std::optional<std::string> FrameViewDialog::chooseNewSurvey()
{
    const auto path = m_prompts.saveFileName(saveSurveyDialog());
    if (!path)
        return std::nullopt;
    // Writing it would pull the survey from under the main window.
    if (isSameFile(path->toStdString(), m_openSurvey.toStdString())) {
        m_prompts.showMessage(text::CannotSaveOverOpenFile);
        return std::nullopt;
    }
    return path->toStdString();
}

QToolButton *FrameViewDialog::commandButton(const char *name, int textId, ToolIcon icon)
{
    auto *button = new QToolButton(this);
    button->setObjectName(name);
    button->setText(uiText(textId));
    button->setToolTip(uiText(textId));
    button->setIcon(toolIcon(icon));
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setMinimumWidth(64);
    return button;
}

int FrameViewDialog::addPage(const char *tabName, int textId, QWidget *page)
{
    auto *tab = new QToolButton(this);
    tab->setObjectName(tabName);
    tab->setText(uiText(textId));
    tab->setCheckable(true);
    const int index = m_pages->addWidget(page);
    m_tabs->addButton(tab, index);
    // Before the stretch that keeps the tabs to the left.
    m_tabRow->insertWidget(index, tab);
    return index;
}

QToolButton &FrameViewDialog::tabButton(int page)
{
    return *static_cast<QToolButton *>(m_tabs->button(page));
}

void FrameViewDialog::showPage(int page)
{
    m_pages->setCurrentIndex(page);
    tabButton(page).setChecked(true);
    m_view->setFocus();
}

void FrameViewDialog::showFrame(const uint8_t *samples, const FrameHeader &header,
                                const AnimationFileHeader &fileHeader, int index, int count,
                                int sediment)
{
    m_view->image().renderFrame(samples, header.roll);
    m_view->showFrameHeaders(header, fileHeader, index, count);
    FrameOverlay &overlay = m_view->overlay();
    overlay.averageSediment = sediment;
    overlay.sedimentDepthMm = sediment;
    overlay.showTitle = settings().showTitle != 0;
    overlay.showNotes = settings().showNotes != 0;
    m_view->update();
}

void FrameViewDialog::keyPressEvent(QKeyEvent *event)
{
    // Enter does nothing here; Escape closes as the close box does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace dorvane
