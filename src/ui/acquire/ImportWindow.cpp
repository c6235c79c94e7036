#include "ui/acquire/ImportWindow.h"

#include "core/acquire/ImgImport.h"
#include "core/acquire/ProbeSession.h"
#include "core/app/TextIds.h"
#include "core/document/AnimationDocument.h"
#include "ui/acquire/FileListPanel.h"
#include "ui/display/FramePropertyPanel.h"
#include "ui/display/GraphicsPanel.h"
#include "ui/widgets/FileDialogs.h"
#include "ui/widgets/ProgressWindow.h"
#include "ui/widgets/UiText.h"

#include <QHBoxLayout>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace dorvane {

namespace {

constexpr int FileTabDelayMs = 10;

} // namespace

ImportWindow::ImportWindow(UserPrompts &prompts, const QString &openSurvey, QWidget *parent)
    : FrameViewDialog(prompts, openSurvey, parent),
      m_document(std::make_unique<AnimationDocument>(prompts)), m_fileList(new FileListPanel(this)),
      m_progress(new ProgressWindow(this)),
      m_filesPage(addPage("filesTab", text::FileListPage, m_fileList))
{
    setObjectName("importWindow");
    setWindowTitle(uiText(text::ImportImgTitle));
    QToolButton *import = commandButton("importFilesButton", text::ImportFiles, ToolIcon::Import);
    QToolButton *save = commandButton("saveAnimationButton", text::SaveAnimation, ToolIcon::Save);
    auto *commands = new QHBoxLayout;
    commands->addWidget(import);
    commands->addWidget(save);
    commands->addStretch();
    controls().addLayout(commands);

    connect(import, &QToolButton::clicked, this, &ImportWindow::addFiles);
    connect(save, &QToolButton::clicked, this, &ImportWindow::saveAnimation);
    connect(m_fileList, &FileListPanel::selectionChanged, this, &ImportWindow::showSelection);

    setPanelsEnabled(false);
    QTimer::singleShot(FileTabDelayMs, this, [this] { showPage(m_filesPage); });
}

ImportWindow::~ImportWindow() = default;

void ImportWindow::setPanelsEnabled(bool enabled)
{
    graphicsPanel().setEnabled(enabled);
    propertyPanel().setEnabled(enabled);
}

void ImportWindow::addFiles()
{
    const QStringList paths = prompts().openFileNames(imgFilesDialog());
    if (paths.isEmpty())
        return;
    m_fileList->addFiles(paths);
    {
        const QSignalBlocker block(m_fileList);
        m_fileList->select(0);
    }
    showSelection();
}

void ImportWindow::showSelection()
{
    const int row = m_fileList->selectedRow();
    if (row < 0) {
        m_document->reset();
        graphicsPanel().resetForFrame();
        propertyPanel().clear();
        setPanelsEnabled(false);
        return;
    }
    if (!m_document->open(m_fileList->selectedPath().toStdString(), nullptr))
        return; // told; saving waits for a file that can be shown
    const FrameRecord &frame = m_document->current();
    propertyPanel().loadFrame(row, frame.header);
    graphicsPanel().resetForFrame();
    showFrame(frame.samples.data(), frame.header, m_document->fileHeader(), row,
              m_fileList->count(), -1);
    setPanelsEnabled(true);
}

bool ImportWindow::saveAnimation()
{
    if (!m_document->isOpen() || m_fileList->count() == 0)
        return false;
    // The files of the list are refused as well, by the import itself.
    const auto path = chooseNewSurvey();
    if (!path)
        return false;
    std::vector<std::string> paths;
    for (const QString &item : m_fileList->paths())
        paths.push_back(item.toStdString());
    m_progress->setProgressText(text::SavingData);
    int failed = -1;
    setEnabled(false);
    const bool saved =
        importImgFiles(paths, m_document->fileHeader(), *path, m_progress, prompts(), &failed);
    setEnabled(true);
    if (!saved && failed >= 0) {
        // Show which item failed, without reading it again.
        const QSignalBlocker block(m_fileList);
        m_fileList->select(failed);
    }
    return saved;
}

void ImportWindow::reject()
{
    // The probe is asked to stop, as when the acquire window closes; its
    // answer does not matter here.
    ProbeSession(prompts()).close();
    QDialog::reject();
}

} // namespace dorvane
