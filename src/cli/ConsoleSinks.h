#pragma once

#include "core/base/MessageSink.h"
#include "core/base/ProgressSink.h"

namespace dorvane::cli {

// Writes each message's text to stderr, one a line, in the configured
// language.
class StderrMessageSink final : public MessageSink
{
public:
    // The batch tool has no one to ask: questions are declined.
    Answer ask(int textId, Buttons buttons) override;

private:
    void deliver(int textId, std::string_view detail) override;
};

// Shows a percentage on stderr while a long job runs, when stderr is a
// terminal; silent otherwise, so that logs stay clean.
class StderrProgressSink final : public ProgressSink
{
public:
    StderrProgressSink();
    void postProgress(int done, int total) override;

private:
    bool m_enabled;
    int m_lastPercent = -1;
};

} // namespace dorvane::cli
