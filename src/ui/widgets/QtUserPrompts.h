#pragma once

#include "ui/widgets/UserPrompts.h"

class QWidget;

namespace dorvane {

// Message boxes and file dialogs over a parent window; every text comes from
// the text table.
class QtUserPrompts final : public UserPrompts
{
public:
    void setParent(QWidget *parent) { m_parent = parent; }

    using UserPrompts::ask;
    Answer ask(int textId, Buttons buttons, Answer defaultAnswer) override;
    std::optional<QString> openFileName(const FileDialog &dialog) override;
    QStringList openFileNames(const FileDialog &dialog) override;
    std::optional<QString> saveFileName(const FileDialog &dialog) override;
    std::optional<QString> folderName(const FileDialog &dialog) override;

private:
    void deliver(int textId, std::string_view detail) override;
    // Runs a file dialog of the given QFileDialog::FileMode; the files
    // chosen, none when cancelled.
    QStringList runFileDialog(const FileDialog &dialog, int fileMode);

    QWidget *m_parent = nullptr;
};

} // namespace dorvane
