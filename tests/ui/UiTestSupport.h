#pragma once

#include "support/TestSupport.h"
#include "ui/app/UserPrompts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <deque>
#include <functional>

namespace dorvane::test {

// Answers every question and file dialog from a script and remembers what
// the program said.
class ScriptedPrompts final : public UserPrompts
{
public:
    void showMessage(int textId) override { messages.push_back(textId); }
    Answer ask(int textId, Buttons) override
    {
        questions.push_back(textId);
        if (answers.empty())
            return Answer::Cancel;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<QString> openFileName(const FileDialog &) override
    {
        return std::exchange(nextOpenFile, std::nullopt);
    }
    std::optional<QString> saveFileName(const FileDialog &) override
    {
        return std::exchange(nextSaveFile, std::nullopt);
    }

    std::vector<int> messages;
    std::vector<int> questions;
    std::deque<Answer> answers;
    std::optional<QString> nextOpenFile;
    std::optional<QString> nextSaveFile;
};

// Handles events until the condition holds or the time is up.
inline bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

} // namespace dorvane::test
