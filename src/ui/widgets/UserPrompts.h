#pragma once

#include "core/base/MessageSink.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace dorvane {

// Everything the program asks or tells the operator: message boxes,
// questions and file dialogs. The desktop program shows real dialogs; tests
// answer them without a person.
class UserPrompts : public MessageSink
{
public:
    struct FileDialog
    {
        QString title;
        QString filter;        // Qt form: "Image Video (*.Imv);;All files (*)"
        QString defaultSuffix; // without the dot
        QString fileName = {}; // offered at first (save dialogs)
    };

    // A question with the answer that Enter gives.
    virtual Answer ask(int textId, Buttons buttons, Answer defaultAnswer) = 0;
    // Without a named default, OK/Cancel questions default to Cancel (they
    // guard operations that cannot be undone) and the save question to Yes.
    Answer ask(int textId, Buttons buttons) final
    {
        return ask(textId, buttons, buttons == Buttons::OkCancel ? Answer::Cancel : Answer::Yes);
    }

    // The chosen existing file, or nothing when cancelled.
    virtual std::optional<QString> openFileName(const FileDialog &dialog) = 0;
    // Any number of existing files, in the order chosen; empty when cancelled.
    virtual QStringList openFileNames(const FileDialog &dialog) = 0;
    // The chosen file to write (overwriting confirmed), or nothing.
    virtual std::optional<QString> saveFileName(const FileDialog &dialog) = 0;
    // The chosen existing folder, or nothing (the filter is not used).
    virtual std::optional<QString> folderName(const FileDialog &dialog) = 0;
};

} // namespace dorvane
