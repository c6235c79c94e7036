#include "ui/app/SurveySession.h"

#include "core/app/Settings.h"
#include "core/app/TextIds.h"
#include "core/base/SameFile.h"
#include "ui/widgets/FileDialogs.h"
#include "ui/widgets/ProgressWindow.h"
#include "ui/widgets/QtUserPrompts.h"

#include <QFileInfo>
#include <QWidget>
#include <algorithm>
#include <cassert>

namespace dorvane {

namespace {

std::unique_ptr<UserPrompts> realPrompts(QWidget *window)
{
    auto prompts = std::make_unique<QtUserPrompts>();
    prompts->setParent(window);
    return prompts;
}

} // namespace

// Marks a long operation: the window is disabled from its start to its end,
// so that nothing can start inside its progress loop.
class SurveySession::BusyScope
{
public:
    explicit BusyScope(SurveySession &session) : m_session(session)
    {
        ++m_session.m_busy;
        m_session.updateFacts();
    }
    ~BusyScope()
    {
        --m_session.m_busy;
        m_session.updateFacts();
    }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    SurveySession &m_session;
};

SurveySession::SurveySession(UserPrompts *prompts, QWidget *window)
    : QObject(window), m_ownPrompts(prompts ? nullptr : realPrompts(window)),
      m_prompts(prompts ? prompts : m_ownPrompts.get()), m_document(*m_prompts), m_window(window),
      m_progress(new ProgressWindow(window))
{
    connect(&m_playTimer, &QTimer::timeout, this, &SurveySession::advance);
    // A writer's changes come in bursts: they are looked at once it paused.
    m_changeCheck.setSingleShot(true);
    m_changeCheck.setInterval(200);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_changeCheck,
            qOverload<>(&QTimer::start));
    connect(&m_changeCheck, &QTimer::timeout, this, &SurveySession::noticeChangeOnDisk);
}

void SurveySession::watchOpenedFile()
{
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    m_changeTold = false;
    if (m_document.hasFile())
        m_watcher.addPath(m_openedFile);
}

void SurveySession::noticeChangeOnDisk()
{
    // The program's own saves change the file too; the document knows its
    // own changes from another program's.
    if (isBusy()) {
        m_changeCheck.start();
        return;
    }
    // A file replaced by a rename is watched again under its name.
    if (m_watcher.files().isEmpty() && m_document.hasFile())
        m_watcher.addPath(m_openedFile);
    if (m_changeTold || !m_document.changedOnDisk())
        return;
    m_changeTold = true;
    m_prompts->showMessage(text::ChangedElsewhere);
}

SurveySession::~SurveySession() = default;

SessionFacts SurveySession::facts() const
{
    return {isOpen(), m_document.isWritable(), m_document.hasFile(), isModified(), isPlaying(),
            isBusy()};
}

int SurveySession::playbackIntervalMs()
{
    const int rate = settings().playRate;
    return 1000 / (rate > 0 ? rate : 1);
}

void SurveySession::updateFacts()
{
    const SessionFacts now = facts();
    if (now == m_lastFacts)
        return;
    m_lastFacts = now;
    emit factsChanged();
}

void SurveySession::raiseWindow()
{
    if (m_window) {
        m_window->raise();
        m_window->activateWindow();
    }
}

bool SurveySession::savePrompt()
{
    if (!isModified())
        return true;
    switch (m_prompts->ask(text::DataChangedSave, MessageSink::Buttons::YesNoCancel)) {
    case MessageSink::Answer::Yes:
        return save();
    case MessageSink::Answer::No:
        discard();
        return true;
    default:
        return false;
    }
}

bool SurveySession::prepareForOtherWork()
{
    if (isBusy())
        return false;
    pause();
    return savePrompt();
}

bool SurveySession::openFromDialog()
{
    if (isBusy())
        return false;
    pause();
    if (!savePrompt())
        return false;
    const auto path = m_prompts->openFileName(openSurveyDialog());
    if (!path)
        return false;
    const bool success = openSurvey(*path);
    raiseWindow();
    return success;
}

bool SurveySession::openFile(const QString &path)
{
    if (isBusy())
        return false;
    pause();
    return savePrompt() && openSurvey(path);
}

bool SurveySession::openSurvey(const QString &path, int firstFrame)
{
    pause();
    bool success = false;
    {
        BusyScope busy(*this);
        // Nothing may keep showing the old survey while the new one loads,
        // or after a failed open: opening starts by closing.
        emit closed();
        m_progress->setProgressText(text::ReadingData);
        success = m_document.open(path.toStdString(), m_progress);
    }
    if (success) {
        m_openedFile = QFileInfo(path).absoluteFilePath();
        watchOpenedFile();
        emit opened();
        emit surveyChanged();
        showFrame(std::clamp(firstFrame, 0, frameCount() - 1), Reload::IfNeeded);
    }
    updateFacts();
    return success;
}

bool SurveySession::showFrame(int index, Reload reload)
{
    // Reading a frame over pending edits would drop them: every route that
    // leaves the frame asks the save question first.
    assert(!isModified() || (index == currentIndex() && reload == Reload::IfNeeded));
    if (!isOpen() || index < 0 || index >= frameCount())
        return false;
    if (!m_document.loadFrame(index, reload == Reload::Force))
        return false; // the document has told the user
    m_document.deriveFrame(index);
    emit frameShown(index);
    return true;
}

bool SurveySession::isOpenedFile(const QString &path) const
{
    return isOpen() && isSameFile(path.toStdString(), m_openedFile.toStdString());
}

bool SurveySession::walkFrames(int textId, const std::function<bool(int index)> &perFrame)
{
    if (!isOpen() || isBusy() || isModified())
        return false;
    pause();
    const int shownBefore = currentIndex();
    const int count = frameCount();
    bool complete = true;
    {
        BusyScope busy(*this);
        m_progress->setProgressText(textId);
        ProgressScope progress(m_progress, count);
        for (int i = 0; i < count; ++i) {
            if (!showFrame(i, Reload::IfNeeded) || !perFrame(i)) {
                complete = false;
                break;
            }
            progress.step(i, count);
        }
        // Complete only once the frame shown before is back.
        showFrame(shownBefore, Reload::IfNeeded);
        if (complete)
            progress.complete();
    }
    raiseWindow();
    return complete;
}

void SurveySession::runWhileBusy(const std::function<void()> &work)
{
    {
        BusyScope busy(*this);
        work();
    }
    raiseWindow();
}

bool SurveySession::goToFrame(int index)
{
    if (!isOpen() || isBusy())
        return false;
    pause();
    if (index != currentIndex() && !savePrompt())
        return false;
    return showFrame(index, Reload::IfNeeded);
}

bool SurveySession::scrollToFrame(int index)
{
    if (!isOpen() || isBusy())
        return false;
    if (index != currentIndex() && !savePrompt())
        return false;
    if (showFrame(index, Reload::IfNeeded))
        return true;
    pause(); // one message, not one per tick
    return false;
}

bool SurveySession::step(Direction direction)
{
    if (!isOpen() || isBusy() || isPlaying() || !savePrompt())
        return false;
    const int next = currentIndex() + (direction == Direction::Forwards ? 1 : -1);
    // At either end the end frame is shown once more.
    return showFrame(std::clamp(next, 0, frameCount() - 1), Reload::IfNeeded);
}

void SurveySession::advance()
{
    int next = currentIndex() + (m_direction == Direction::Forwards ? 1 : -1);
    if (next < 0 || next >= frameCount()) {
        pause();
        next = std::clamp(next, 0, frameCount() - 1);
    }
    // A frame that cannot be read stops playback after its one message.
    if (!showFrame(next, Reload::IfNeeded))
        pause();
}

void SurveySession::play(Direction direction)
{
    if (!isOpen() || isBusy() || !savePrompt())
        return;
    m_direction = direction;
    m_playing = true;
    m_playTimer.start(playbackIntervalMs());
    emit playbackChanged(true);
    updateFacts();
}

void SurveySession::pause()
{
    if (!m_playing)
        return;
    m_playTimer.stop();
    m_playing = false;
    emit playbackChanged(false);
    updateFacts();
}

bool SurveySession::showCurrentFrame(Reload reload)
{
    if (!isOpen() || isBusy())
        return false;
    if (reload == Reload::Force && !savePrompt())
        return false;
    return showFrame(currentIndex(), reload);
}

void SurveySession::settingsChanged()
{
    if (!isOpen() || isBusy())
        return;
    if (m_playing)
        m_playTimer.start(playbackIntervalMs()); // the new rate takes effect
    showFrame(currentIndex(), Reload::IfNeeded);
}

void SurveySession::editFrame(const FrameEdit &edit)
{
    applyEdit([&] { return m_document.editCurrentHeader(edit); });
}

void SurveySession::editPipeAttributes(const FileHeaderEdit &edit)
{
    applyEdit([&] { return m_document.editFileHeader(edit); });
}

void SurveySession::applyEdit(const std::function<bool()> &edit)
{
    if (!isOpen() || isBusy())
        return;
    // Playback must not run past an edit it would hide.
    pause();
    if (edit()) {
        // What is derived from the frame follows its pending header at once
        // (the assessment, the sediment); a discard derives it again.
        m_document.deriveFrame(currentIndex());
        emit frameEdited();
    }
    updateFacts();
}

bool SurveySession::save()
{
    pause();
    if (!isOpen() || isBusy())
        return false;
    if (!isModified())
        return true;
    if (!m_document.saveCurrent())
        return false; // told, and the edits stay pending
    updateFacts();
    // The frame as the file now holds it, and every display built from
    // the derived values of all frames.
    showFrame(currentIndex(), Reload::Force);
    emit surveyChanged();
    return true;
}

void SurveySession::discard()
{
    pause();
    if (!isOpen() || isBusy())
        return;
    m_document.discardChanges();
    updateFacts();
    showFrame(currentIndex(), Reload::IfNeeded);
}

bool SurveySession::saveAsFromDialog()
{
    if (!isOpen() || isBusy())
        return false;
    pause();
    if (!savePrompt())
        return false;
    if (!m_document.hasFile()) {
        m_prompts->showMessage(text::NoAnimationFileBehindData);
        return false;
    }
    const auto path = m_prompts->saveFileName(saveSurveyDialog());
    if (!path)
        return false;
    bool saved = false;
    {
        BusyScope busy(*this);
        m_progress->setProgressText(text::SavingData);
        saved = m_document.copyAnimation(path->toStdString(), m_progress, -1);
    }
    if (saved)
        raiseWindow();
    return saved;
}

bool SurveySession::applyToFrames(const BulkEdit &edit)
{
    if (!isOpen() || isBusy())
        return false;
    pause();
    // Pending edits are saved first; when that fails nothing more happens.
    if (!save())
        return false;
    bool applied = false;
    {
        BusyScope busy(*this);
        applied = m_document.applyToFrames(edit, m_progress);
    }
    if (!isOpen()) {
        // The survey could not be read back and was closed.
        emit closed();
        updateFacts();
        return false;
    }
    emit surveyChanged();
    showFrame(currentIndex(), Reload::IfNeeded);
    raiseWindow();
    return applied;
}

bool SurveySession::deleteCurrentFrame()
{
    if (!isOpen() || isBusy())
        return false;
    pause();
    if (!m_document.hasFile()) {
        m_prompts->showMessage(text::NoAnimationFileBehindData);
        return false;
    }
    if (!savePrompt())
        return false;
    if (m_prompts->ask(text::ConfirmDeleteFrame, MessageSink::Buttons::OkCancel) !=
        MessageSink::Answer::Ok)
        return false;
    const QString path = QString::fromStdString(m_document.path());
    const int deleted = currentIndex();
    const int remaining = frameCount() - 1;
    {
        BusyScope busy(*this);
        m_progress->setProgressText(text::ModifyingData);
        if (!m_document.deleteCurrentFrame(m_progress))
            return false;
    }
    emit closed();
    updateFacts();
    if (remaining == 0) {
        // Only the file header is left: there is nothing to open again.
        m_prompts->showMessage(text::OnlyHeaderLeft);
        return true;
    }
    // The frame that took the deleted one's place, or the new last frame.
    const bool reopened = openSurvey(path, std::min(deleted, remaining - 1));
    raiseWindow();
    return reopened;
}

bool SurveySession::readFrame(int index, FrameRecord &frame) const
{
    return isOpen() && !isBusy() && m_document.readFrame(index, frame);
}

bool SurveySession::requestClose()
{
    if (isBusy())
        return false;
    if (!isModified()) {
        if (m_prompts->ask(text::ConfirmExit, MessageSink::Buttons::OkCancel,
                           MessageSink::Answer::Ok) != MessageSink::Answer::Ok)
            return false;
    } else if (!savePrompt()) {
        return false;
    }
    pause();
    return true;
}

} // namespace dorvane
