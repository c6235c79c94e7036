#pragma once

#include "core/document/AnimationDocument.h"
#include "ui/app/ControlState.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

class QWidget;

namespace dorvane {

class ProgressWindow;
class UserPrompts;

// The open survey of the main window and the only way it changes: opening,
// showing a frame, playback, edits of the frame and of the pipe attributes,
// save, discard, save-as, bulk edits, frame deletion. Windows, panels and
// views ask it for changes and follow its signals; none of them touches the
// document. It asks the operator through the prompts and shows long work in
// the progress window, and it keeps the facts every control follows.
class SurveySession : public QObject
{
    Q_OBJECT

public:
    enum class Direction
    {
        Backwards,
        Forwards
    };
    enum class Reload
    {
        IfNeeded, // the frame held in memory stays
        Force     // read again from the file
    };

    // window: what the progress window stands over and what is raised after
    // long work. Without prompts the session shows real message boxes.
    SurveySession(UserPrompts *prompts, QWidget *window);
    ~SurveySession() override;

    // What windows show of the survey.
    const FrameRecord &currentFrame() const { return m_document.current(); }
    const AnimationFileHeader &fileHeader() const { return m_document.fileHeader(); }
    const DerivedFrames &derived() const { return m_document.derived(); }
    int averageSediment() const { return m_document.averageSediment(); }
    // The whole survey, to inspect.
    const AnimationDocument &document() const { return m_document; }
    UserPrompts &prompts() { return *m_prompts; }
    ProgressWindow &progressWindow() { return *m_progress; }

    SessionFacts facts() const;
    bool isOpen() const { return m_document.isOpen(); }
    bool isModified() const { return m_document.isModified(); }
    bool isPlaying() const { return m_playing; }
    bool isBusy() const { return m_busy > 0; }
    Direction direction() const { return m_direction; }
    int currentIndex() const { return m_document.currentIndex(); }
    int frameCount() const { return m_document.frameCount(); }
    // The playback timer's period for the rate of the settings.
    static int playbackIntervalMs();

    // Before work of another window (acquisition, import, exports):
    // playback stops and pending edits are saved or dropped. False when the
    // operator cancels or an operation runs.
    bool prepareForOtherWork();
    // The file the open survey was opened from, an IMG file too, as an
    // absolute path (empty when none is open).
    QString openedFile() const { return isOpen() ? m_openedFile : QString(); }
    // The name reaches the file the open survey came from, by any spelling,
    // link or hard link: writing there would destroy the survey.
    bool isOpenedFile(const QString &path) const;

    // The save question before anything that leaves the current frame or
    // the survey: true when the action may go on (nothing pending, saved,
    // or discarded). A failed save does not go on.
    bool savePrompt();

    // Toolbar "open": save question, file dialog, open.
    bool openFromDialog();
    // A file dropped on the window or named at start-up.
    bool openFile(const QString &path);

    // Goes to a frame from the defect strip, the deviation map or the
    // preview: playback stops.
    bool goToFrame(int index);
    // The slider: playback, if running, goes on from there.
    bool scrollToFrame(int index);
    // Ctrl+A / Ctrl+D: one frame back or on, only while stopped and saved.
    bool step(Direction direction);
    void play(Direction direction);
    void pause();
    // Shows the current frame again (Force asks the save question first).
    bool showCurrentFrame(Reload reload);
    // A setting the picture or the playback rate depends on changed.
    void settingsChanged();

    void editFrame(const FrameEdit &edit);
    void editPipeAttributes(const FileHeaderEdit &edit);
    bool save();
    void discard();
    bool saveAsFromDialog();
    bool applyToFrames(const BulkEdit &edit);
    bool deleteCurrentFrame();

    // An export's walk through the survey: with the window disabled and the
    // progress shown under textId, every frame in file order is shown and
    // handed to perFrame. An unreadable frame (the document tells the user)
    // or false from perFrame ends the walk early. The frame shown before is
    // shown again on every path. True when every frame was handed over.
    // Needs an open survey without pending edits.
    bool walkFrames(int textId, const std::function<bool(int index)> &perFrame);

    // Work with the window disabled (nothing can start meanwhile).
    void runWhileBusy(const std::function<void()> &work);

    // Reads a frame for a preview without touching the current one.
    bool readFrame(int index, FrameRecord &frame) const;
    // Closing the program: the exit question, or the save question when
    // edits are pending. True when the window may close.
    bool requestClose();

signals:
    // A survey was opened; frameShown follows.
    void opened();
    // The survey shown so far is gone (before an open, after a deletion).
    void closed();
    // The values derived from every frame changed (open, save, bulk edit).
    void surveyChanged();
    // The current frame, as read and derived, is to be shown.
    void frameShown(int index);
    // The current frame's header or the file header changed in memory.
    void frameEdited();
    void playbackChanged(bool playing);
    // One of the facts of facts() changed.
    void factsChanged();

private:
    class BusyScope;

    bool openSurvey(const QString &path, int firstFrame = 0);
    bool showFrame(int index, Reload reload);
    // Every edit of either header goes through here: true when it changed
    // a byte.
    void applyEdit(const std::function<bool()> &edit);
    void advance();
    void updateFacts();
    void raiseWindow();
    // Tells the user, once, that another program changed the open survey.
    void noticeChangeOnDisk();
    void watchOpenedFile();

    std::unique_ptr<UserPrompts> m_ownPrompts;
    UserPrompts *m_prompts;
    AnimationDocument m_document;
    QWidget *m_window;
    ProgressWindow *m_progress;
    QTimer m_playTimer;
    bool m_playing = false;
    Direction m_direction = Direction::Forwards;
    int m_busy = 0;
    SessionFacts m_lastFacts;
    QString m_openedFile;
    // The open survey's file, for changes another program makes to it.
    QFileSystemWatcher m_watcher;
    QTimer m_changeCheck;
    bool m_changeTold = false;
};

} // namespace dorvane
