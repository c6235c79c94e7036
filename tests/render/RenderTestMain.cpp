#include <QGuiApplication>
#include <gtest/gtest.h>

// Drawing text needs a QGuiApplication. The tests never show a window, so
// they run without a display unless a platform is chosen explicitly; that
// also holds when the build lists the tests.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
