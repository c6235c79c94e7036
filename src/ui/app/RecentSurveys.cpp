#include "ui/app/RecentSurveys.h"

#include <QSettings>

namespace dorvane {

namespace {

const char *const Key = "recentSurveys";

} // namespace

QStringList RecentSurveys::files() const
{
    return QSettings().value(Key).toStringList().mid(0, MaxCount);
}

void RecentSurveys::add(const QString &path)
{
    if (path.isEmpty())
        return;
    QStringList list = files();
    list.removeAll(path);
    list.prepend(path);
    store(list.mid(0, MaxCount));
}

void RecentSurveys::remove(const QString &path)
{
    QStringList list = files();
    if (list.removeAll(path) > 0)
        store(list);
}

void RecentSurveys::store(const QStringList &files)
{
    QSettings settings;
    settings.setValue(Key, files);
    settings.sync();
}

} // namespace dorvane
