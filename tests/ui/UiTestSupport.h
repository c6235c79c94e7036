#pragma once

#include "support/TestSupport.h"
#include "ui/widgets/UserPrompts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <deque>
#include <functional>

namespace dorvane::test {

// Answers every question and file dialog from a script and remembers what
// the program said.
class ScriptedPrompts final : public UserPrompts
{
public:
    using UserPrompts::ask;
    Answer ask(int textId, Buttons, Answer defaultAnswer) override
    {
        questions.push_back(textId);
        defaults.push_back(defaultAnswer);
        if (onAsk)
            onAsk(textId);
        if (answers.empty())
            return Answer::Cancel;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<QString> openFileName(const FileDialog &dialog) override
    {
        lastOpenDialog = dialog;
        return std::exchange(nextOpenFile, std::nullopt);
    }
    std::optional<QString> saveFileName(const FileDialog &dialog) override
    {
        lastSaveDialog = dialog;
        return std::exchange(nextSaveFile, std::nullopt);
    }
    QStringList openFileNames(const FileDialog &) override
    {
        return std::exchange(nextOpenFiles, QStringList());
    }
    std::optional<QString> folderName(const FileDialog &) override
    {
        return std::exchange(nextFolder, std::nullopt);
    }

    std::vector<int> messages;
    QStringList details; // of the messages that have one
    std::vector<int> questions;
    std::vector<Answer> defaults; // the answer Enter gives, per question
    std::deque<Answer> answers;
    std::optional<QString> nextOpenFile;
    std::optional<QString> nextSaveFile;
    FileDialog lastSaveDialog;
    FileDialog lastOpenDialog;
    QStringList nextOpenFiles;
    std::optional<QString> nextFolder;
    // Runs as each question is asked, before it is answered.
    std::function<void(int textId)> onAsk;

private:
    void deliver(int textId, std::string_view detail) override
    {
        messages.push_back(textId);
        if (!detail.empty())
            details.push_back(
                QString::fromUtf8(detail.data(), static_cast<qsizetype>(detail.size())));
    }
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

// Presses button at from, moves to to with the button held, releases there.
inline void dragOn(QWidget &widget, Qt::MouseButton button, QPoint from, QPoint to)
{
    QTest::mousePress(&widget, button, {}, from);
    // QTest::mouseMove carries no buttons: the move is sent by hand.
    QMouseEvent move(QEvent::MouseMove, QPointF(to), widget.mapToGlobal(QPointF(to)), Qt::NoButton,
                     button, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &move);
    QTest::mouseRelease(&widget, button, {}, to);
}

} // namespace dorvane::test
