#pragma once

#include <string>
#include <string_view>

namespace dorvane {

// How the lower layers tell the user about a failure or ask a question. The
// desktop program shows message boxes, the batch tool writes to stderr and the
// tests record what was said. Texts are passed by their id in the text table.
class MessageSink
{
public:
    enum class Buttons
    {
        OkCancel,
        YesNo,
        YesNoCancel
    };
    enum class Answer
    {
        Ok,
        Cancel,
        Yes,
        No
    };

    virtual ~MessageSink() = default;

    // detail, when there is one, is what the text table cannot know: the
    // system's own error text ("No space left on device"), or a library's.
    // It is shown after the text, so that a full disk and a refused
    // permission read differently.
    void showMessage(int textId, std::string_view detail = {}) { deliver(textId, detail); }
    virtual Answer ask(int textId, Buttons buttons) = 0;

protected:
    virtual void deliver(int textId, std::string_view detail) = 0;
};

// A sink that says nothing and answers every question with Cancel.
class SilentMessageSink final : public MessageSink
{
public:
    Answer ask(int, Buttons) override { return Answer::Cancel; }

private:
    void deliver(int, std::string_view) override {}
};

// The system's text for an errno value ("Permission denied"); empty for 0.
std::string systemErrorText(int error);
// A message's text with its detail on a line of its own (the text may end in
// its own line break).
std::string withDetail(std::string text, std::string_view detail);

} // namespace dorvane
