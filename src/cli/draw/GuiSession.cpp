#include "cli/draw/GuiSession.h"

#include <cstdio>

namespace dorvane::cli {

GuiSession::GuiSession()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    m_application = std::make_unique<QGuiApplication>(m_argc, m_argv);
}

GuiSession::~GuiSession() = default;

} // namespace dorvane::cli
