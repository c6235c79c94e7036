#pragma once

#include <QStringList>

namespace dorvane {

// The surveys opened last, newest first, kept between runs in the
// program's settings (QSettings, "recentSurveys").
class RecentSurveys
{
public:
    static constexpr int MaxCount = 8;

    QStringList files() const;
    // Puts the file first, once.
    void add(const QString &path);
    void remove(const QString &path);

private:
    static void store(const QStringList &files);
};

} // namespace dorvane
