#include "ui/widgets/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace dorvane {

bool installQtTranslations(QCoreApplication &application, int language)
{
    if (language != 0)
        return true;
    // Owned by the application, which uses it until it ends.
    auto *translator = new QTranslator(&application);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace dorvane
