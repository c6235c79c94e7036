#pragma once

#include <QGuiApplication>
#include <memory>

namespace dorvane::cli {

// Drawing text needs a GUI application; the batch tool has no display and
// keeps stderr for the survey's own messages.
class GuiSession
{
public:
    GuiSession();
    ~GuiSession();
    GuiSession(const GuiSession &) = delete;
    GuiSession &operator=(const GuiSession &) = delete;

private:
    int m_argc = 1;
    char m_name[16] = "tessiq-cli";
    char *m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QGuiApplication> m_application;
};

} // namespace dorvane::cli
