#pragma once

#include "core/acquire/ProbeStatus.h"
#include "core/base/PosixFile.h"
#include "core/data/AnimationFileHeader.h"
#include "core/data/FrameHeader.h"
#include "core/data/FrameRecord.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace dorvane {

class MessageSink;

// Records the probe's live frames into a new animation file. One recorder
// exists per process because the device library calls back into it from its
// own thread. Every accepted frame gets the probe's attitude and cable
// counter and the settings in force stamped into the frame template, and is
// appended with one write of a whole record, so the file is a valid survey
// at every moment (a crash leaves at most a partial last record, which the
// frame count ignores). Frames whose status record lacks its marker are
// dropped: nothing is written, counted or shown.
//
// The window sees each frame in a hand-over: the device thread posts it and
// waits until the window's thread has shown it (the samples are valid until
// then) or the recording stops. Stopping releases a waiting device thread
// first, so the window's thread never waits for the device thread while that
// thread waits for it; so does holding the hand-overs around a call into the
// device library, which may serialise its calls with the frame callback.
class LiveRecorder
{
public:
    // The window's side of the hand-over. Both calls come on the device
    // thread and must only post to the window's thread, never block nor
    // call back into the recorder.
    class Listener
    {
    public:
        virtual ~Listener() = default;
        // A frame was recorded: the window's thread calls finishHandOver.
        virtual void frameRecorded() = 0;
        // A write failed and the recording stopped by itself: the file holds
        // the frames before it. The device stream still runs until the
        // window's thread calls stop(), which tells what went wrong.
        virtual void recordingFailed() = 0;
    };

    // The frame being handed over, for the window to show.
    struct LiveFrame
    {
        const FrameHeader &header; // as written
        const uint8_t *samples;    // 100,000 bytes
        const ProbeStatus &status;
        const AnimationFileHeader &fileHeader;
        int frameCount; // frames written so far, this one included
    };

    static LiveRecorder &instance();
    LiveRecorder(const LiveRecorder &) = delete;
    LiveRecorder &operator=(const LiveRecorder &) = delete;

    // The window that sees the frames (null: none). Returns once no call to
    // the former listener is under way, and releases a hand-over that waits
    // for it, so the former listener may go then.
    void setListener(Listener *listener);

    // Settings stamped into the frames that follow; safe while recording.
    void setDetectRadius(uint16_t millimetres);
    void setPipeRadius(uint16_t millimetres);
    uint16_t detectRadius() const;
    uint16_t pipeRadius() const;
    // The template's fixed fields: signature, error rate 20, circle centre
    // (250, 250); every text and flag zero. start() does it too.
    void resetTemplate();

    // Creates (or empties) the output file, writes its file header and
    // starts the device stream. A file that cannot be created is told
    // ("创建文件失败 ") and nothing starts; so is a stream that cannot start
    // (the library lacks its exports), and the file is removed again. With a
    // frame limit, frames after that many are ignored. False while a
    // recording runs.
    bool start(const std::string &path, MessageSink &messages, int frameLimit = 0);
    // Closes the file, releases a waiting hand-over and then stops the device
    // stream (joining the library's thread). Frames arriving later are
    // ignored. Tells what went wrong with the file: a failed write while
    // recording, a file that could not be cut back or made durable; and a
    // recording without a single frame leaves no file, which is told too.
    // True when the file holds its frames and nothing was told. Call it on
    // the window's thread (inside show too), never from a listener's calls.
    bool stop(MessageSink &messages);
    bool isRecording() const;
    // The device stream of a recording runs: also after a failed write,
    // until stop().
    bool isStreaming() const;
    // Frames written by the running or the last recording.
    int frameCount() const;
    std::string path() const;

    // While held (the holds nest), a frame is recorded without a hand-over,
    // and a hand-over that waits is released: the device thread never waits
    // for a window that is busy calling into the device library.
    void holdHandOvers();
    void resumeHandOvers();

    // On the window's thread, in answer to frameRecorded: show gets the
    // frame being handed over, then the device thread goes on. Does nothing
    // when no hand-over waits (the recording stopped meanwhile, an earlier
    // call showed it, or it was released by a hold).
    void finishHandOver(const std::function<void(const LiveFrame &)> &show);

    // The device library's frame callback.
    static int onProbeFrame(unsigned char *samples);
    // Its work, on the device thread.
    void recordFrame(const uint8_t *samples);

private:
    // Something to tell about the file, with the system's reason.
    struct FileFailure
    {
        int textId;
        int error;
    };

    LiveRecorder();
    void resetTemplateLocked();
    void failLocked(std::unique_lock<std::mutex> &lock);
    void endFile(MessageSink &messages, const std::string &path, bool empty,
                 const std::vector<FileFailure> &failures);
    template<typename Call>
    void callListener(std::unique_lock<std::mutex> &lock, Call call);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed; // hand-over or showing ended, listener idle
    Listener *m_listener = nullptr;
    int m_listenerCalls = 0; // calls to the listener under way
    PosixFile m_file;        // open while recording
    bool m_streaming = false;
    bool m_unfinished = false; // started, and stop() has not told how it ended
    std::vector<FileFailure> m_failures;
    std::string m_path;
    AnimationFileHeader m_fileHeader;
    FrameHeader m_template;
    ProbeStatus m_lastStatus;
    // One frame record, written in one go and shown from.
    std::unique_ptr<std::array<uint8_t, FrameRecord::Size>> m_record;
    bool m_handOverPending = false;
    bool m_showing = false;
    int m_handOversHeld = 0;
    int m_frameLimit = 0;
    std::atomic<bool> m_recording{false};
    std::atomic<int> m_frameCount{0};
    std::atomic<uint16_t> m_detectRadius{0};
    std::atomic<uint16_t> m_pipeRadius{0};
};

} // namespace dorvane
