#include "ui/widgets/QtUserPrompts.h"

#include "core/app/TextIds.h"
#include "ui/widgets/UiText.h"

#include <QFileDialog>
#include <QMessageBox>

namespace dorvane {

namespace {
QString caption()
{
    return uiText(text::ProgramTitle);
}
} // namespace

void QtUserPrompts::showMessage(int textId)
{
    QMessageBox::information(m_parent, caption(), uiText(textId));
}

void QtUserPrompts::showDetailedMessage(int textId, const QString &detail)
{
    QMessageBox::information(m_parent, caption(), uiText(textId) + detail);
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
    QFileDialog fileDialog(m_parent, dialog.title, QString(), dialog.filter);
    fileDialog.setAcceptMode(QFileDialog::AcceptOpen);
    fileDialog.setFileMode(QFileDialog::ExistingFile);
    fileDialog.setOption(QFileDialog::ReadOnly, false);
    fileDialog.setDefaultSuffix(dialog.defaultSuffix);
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty())
        return std::nullopt;
    return fileDialog.selectedFiles().front();
}

QStringList QtUserPrompts::openFileNames(const FileDialog &dialog)
{
    QFileDialog fileDialog(m_parent, dialog.title, QString(), dialog.filter);
    fileDialog.setAcceptMode(QFileDialog::AcceptOpen);
    fileDialog.setFileMode(QFileDialog::ExistingFiles);
    fileDialog.setOption(QFileDialog::ReadOnly, false);
    fileDialog.setDefaultSuffix(dialog.defaultSuffix);
    if (fileDialog.exec() != QDialog::Accepted)
        return {};
    return fileDialog.selectedFiles();
}

std::optional<QString> QtUserPrompts::saveFileName(const FileDialog &dialog)
{
    QFileDialog fileDialog(m_parent, dialog.title, QString(), dialog.filter);
    fileDialog.setAcceptMode(QFileDialog::AcceptSave);
    fileDialog.setFileMode(QFileDialog::AnyFile);
    fileDialog.setDefaultSuffix(dialog.defaultSuffix);
    if (!dialog.fileName.isEmpty())
        fileDialog.selectFile(dialog.fileName);
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty())
        return std::nullopt;
    return fileDialog.selectedFiles().front();
}

} // namespace dorvane
