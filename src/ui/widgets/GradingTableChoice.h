#pragma once

#include "core/assess/GradingTable.h"

#include <QString>

namespace dorvane {

class MessageSink;

// The grading table the window assesses and reports by: the file chosen on
// the settings page, remembered in the program's settings
// ("assessment/gradingTable"), else the one shipped in the program folder.
class GradingTableChoice
{
public:
    // Empty while the shipped table is in use.
    static QString chosenFile();
    // Takes the file when its table can be used; otherwise tells why and
    // keeps the choice as it was.
    static bool choose(const QString &path, MessageSink &messages);
    static void chooseShipped();
    // The table in force. A chosen file that can no longer be used (moved,
    // edited since) is told and the shipped table is used instead.
    static GradingTable load(MessageSink &messages);
};

} // namespace dorvane
