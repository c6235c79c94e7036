#pragma once

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

    virtual void showMessage(int textId) = 0;
    virtual Answer ask(int textId, Buttons buttons) = 0;
};

// A sink that says nothing and answers every question with Cancel.
class SilentMessageSink final : public MessageSink
{
public:
    void showMessage(int) override {}
    Answer ask(int, Buttons) override { return Answer::Cancel; }
};

} // namespace dorvane
