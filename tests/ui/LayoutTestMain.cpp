#include "core/app/Settings.h"
#include "core/app/TextService.h"
#include "ui/widgets/QtTranslations.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The layout tests run once per language: the language is taken from
// DORVANE_TEST_LANGUAGE and fixed for the process by the first text fetched,
// before any window is made.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    QApplication::setOrganizationName("Dorvane");
    QApplication::setApplicationName("Tessiq");
    const QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    dorvane::settings().language = qEnvironmentVariableIntValue("DORVANE_TEST_LANGUAGE");
    dorvane::loadText(1);
    dorvane::installQtTranslations(application, dorvane::settings().language);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
