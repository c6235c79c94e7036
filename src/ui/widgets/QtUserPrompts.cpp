#include "ui/widgets/QtUserPrompts.h"

#include "core/app/TextIds.h"
#include "ui/widgets/UiText.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>

namespace dorvane {

namespace {

const char *const LastFolderKey = "lastFolder";

QString caption()
{
    return uiText(text::ProgramTitle);
}
} // namespace

void QtUserPrompts::deliver(int textId, std::string_view detail)
{
    QMessageBox::information(
        m_parent, caption(),
        QString::fromStdString(withDetail(uiText(textId).toStdString(), detail)));
}

MessageSink::Answer QtUserPrompts::ask(int textId, Buttons buttons, Answer defaultAnswer)
{
    if (buttons == Buttons::OkCancel) {
        const auto choice = QMessageBox::question(
            m_parent, caption(), uiText(textId), QMessageBox::Ok | QMessageBox::Cancel,
            defaultAnswer == Answer::Ok ? QMessageBox::Ok : QMessageBox::Cancel);
        return choice == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
    }
    const auto defaultButton = defaultAnswer == Answer::No       ? QMessageBox::No
                               : defaultAnswer == Answer::Cancel ? QMessageBox::Cancel
                                                                 : QMessageBox::Yes;
    const auto choice = QMessageBox::question(
        m_parent, caption(), uiText(textId),
        buttons == Buttons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                  : QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
        defaultButton);
    switch (choice) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> QtUserPrompts::openFileName(const FileDialog &dialog)
{
    const QStringList files = runFileDialog(dialog, QFileDialog::ExistingFile);
    return files.isEmpty() ? std::nullopt : std::optional<QString>(files.front());
}

QStringList QtUserPrompts::openFileNames(const FileDialog &dialog)
{
    return runFileDialog(dialog, QFileDialog::ExistingFiles);
}

std::optional<QString> QtUserPrompts::saveFileName(const FileDialog &dialog)
{
    const QStringList files = runFileDialog(dialog, QFileDialog::AnyFile);
    return files.isEmpty() ? std::nullopt : std::optional<QString>(files.front());
}

std::optional<QString> QtUserPrompts::folderName(const FileDialog &dialog)
{
    const QStringList folders = runFileDialog(dialog, QFileDialog::Directory);
    return folders.isEmpty() ? std::nullopt : std::optional<QString>(folders.front());
}

QStringList QtUserPrompts::runFileDialog(const FileDialog &dialog, int fileMode)
{
    const auto mode = static_cast<QFileDialog::FileMode>(fileMode);
    // Every file dialog starts in the folder used last, also after a restart.
    QFileDialog fileDialog(m_parent, dialog.title, QSettings().value(LastFolderKey).toString(),
                           dialog.filter);
    fileDialog.setAcceptMode(mode == QFileDialog::AnyFile ? QFileDialog::AcceptSave
                                                          : QFileDialog::AcceptOpen);
    fileDialog.setFileMode(mode);
    if (mode == QFileDialog::Directory)
        fileDialog.setOption(QFileDialog::ShowDirsOnly, true);
    fileDialog.setOption(QFileDialog::ReadOnly, false);
    fileDialog.setDefaultSuffix(dialog.defaultSuffix);
    if (!dialog.fileName.isEmpty())
        fileDialog.selectFile(dialog.fileName);
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty())
        return {};
    const QStringList files = fileDialog.selectedFiles();
    QSettings().setValue(LastFolderKey, QFileInfo(files.front()).absolutePath());
    return files;
}

} // namespace dorvane
