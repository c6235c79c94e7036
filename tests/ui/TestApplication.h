#pragma once

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

namespace dorvane::test {

// The application of a window test program: off screen unless the run
// names a platform, with the program's names, and what the program
// remembers between runs (recent surveys, window place) kept in a folder of
// this run, never in the user's own settings or data.
class TestApplication
{
public:
    TestApplication(int &argc, char **argv) : m_application((offScreen(), argc), argv)
    {
        QApplication::setOrganizationName("Dorvane");
        QApplication::setApplicationName("Tessiq");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
        // The survey library's database too.
        qputenv("XDG_DATA_HOME", m_settings.path().toLocal8Bit());
    }

    QApplication &application() { return m_application; }

private:
    static void offScreen()
    {
        if (qgetenv("QT_QPA_PLATFORM").isEmpty())
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QTemporaryDir m_settings;
    QApplication m_application;
};

} // namespace dorvane::test
