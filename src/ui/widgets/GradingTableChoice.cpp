#include "ui/widgets/GradingTableChoice.h"

#include "core/app/TextIds.h"
#include "core/base/MessageSink.h"

#include <QSettings>

namespace dorvane {

namespace {
const char *const Key = "assessment/gradingTable";
}

QString GradingTableChoice::chosenFile()
{
    return QSettings().value(Key).toString();
}

bool GradingTableChoice::choose(const QString &path, MessageSink &messages)
{
    std::string problem;
    if (!GradingTable::read(path.toStdString(), problem)) {
        messages.showMessage(text::GradingTableKept, problem);
        return false;
    }
    QSettings().setValue(Key, path);
    return true;
}

void GradingTableChoice::chooseShipped()
{
    QSettings().remove(Key);
}

GradingTable GradingTableChoice::load(MessageSink &messages)
{
    std::string problem;
    GradingTable table = GradingTable::load(chosenFile().toStdString(), problem);
    if (!problem.empty())
        messages.showMessage(text::GradingTableRefused, problem);
    return table;
}

} // namespace dorvane
