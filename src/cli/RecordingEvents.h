#pragma once

#include "core/acquire/LiveRecorder.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace dorvane::cli {

// The batch tool's side of the recorder's hand-over: the device thread's
// calls are queued for the command's thread, which takes them one by one.
class RecordingEvents final : public LiveRecorder::Listener
{
public:
    enum class Event
    {
        Frame,   // a frame waits to be handed over
        Failed,  // the recording stopped by itself: stopping it tells why
        TimedOut // nothing came in time
    };

    void frameRecorded() override;
    void recordingFailed() override;

    Event next(std::chrono::milliseconds timeout);

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    int m_frames = 0;
    bool m_failed = false;
};

} // namespace dorvane::cli
