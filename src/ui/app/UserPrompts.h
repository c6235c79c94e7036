#pragma once

#include "core/base/MessageSink.h"

#include <QString>
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
    };

    // The chosen existing file, or nothing when cancelled.
    virtual std::optional<QString> openFileName(const FileDialog &dialog) = 0;
    // The chosen file to write (overwriting confirmed), or nothing.
    virtual std::optional<QString> saveFileName(const FileDialog &dialog) = 0;
};

} // namespace dorvane
