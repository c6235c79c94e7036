#include "cli/ConsoleSinks.h"

#include "core/app/TextService.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace dorvane::cli {

void StderrMessageSink::deliver(int textId, std::string_view detail)
{
    std::string text = withDetail(loadText(textId), detail);
    // Texts made for message boxes may end their lines in \r\n.
    std::erase(text, '\r');
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    std::fprintf(stderr, "%s\n", text.c_str());
}

MessageSink::Answer StderrMessageSink::ask(int textId, Buttons)
{
    showMessage(textId);
    return Answer::Cancel;
}

StderrProgressSink::StderrProgressSink() : m_enabled(isatty(STDERR_FILENO) == 1) {}

void StderrProgressSink::postProgress(int done, int total)
{
    if (!m_enabled)
        return;
    if (done < 0) {
        if (m_lastPercent >= 0)
            std::fputs("\r     \r", stderr);
        m_lastPercent = -1;
        return;
    }
    const int percent = total > 0 ? static_cast<int>(100LL * done / total) : 0;
    if (percent != m_lastPercent) {
        std::fprintf(stderr, "\r%3d%%", percent);
        m_lastPercent = percent;
    }
}

} // namespace dorvane::cli
