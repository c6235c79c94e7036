#pragma once

#include "core/acquire/LiveRecorder.h"
#include "core/acquire/SimulatedFrameNumber.h"
#include "core/data/FrameHeader.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace dorvane::test {

// Plays the acquisition window: the recorder's calls post to the window's
// own thread, which finishes each hand-over as the window would, after
// showing the frame. It can also stop answering, to leave a hand-over
// waiting.
class TestWindow final : public LiveRecorder::Listener
{
public:
    // What the window was shown of one frame.
    struct Seen
    {
        uint32_t number; // the simulator's, from the samples
        FrameHeader header;
        ProbeStatus status;
        int frameCount;
        std::thread::id thread;
    };

    explicit TestWindow(LiveRecorder &recorder) : m_recorder(recorder)
    {
        m_thread = std::thread([this] { run(); });
    }
    ~TestWindow() override
    {
        {
            std::lock_guard lock(m_mutex);
            m_quit = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

    void frameRecorded() override
    {
        std::lock_guard lock(m_mutex);
        ++m_posted;
        ++m_postedInAll;
        m_wake.notify_all();
    }
    void recordingFailed() override
    {
        std::lock_guard lock(m_mutex);
        ++m_failures;
        m_wake.notify_all();
    }

    // Called on the window's thread with each frame shown, before the
    // hand-over ends.
    void onShow(std::function<void(const LiveRecorder::LiveFrame &)> action)
    {
        std::lock_guard lock(m_mutex);
        m_onShow = std::move(action);
    }
    // While false, posted hand-overs are left waiting.
    void answer(bool answering)
    {
        std::lock_guard lock(m_mutex);
        m_answering = answering;
        m_wake.notify_all();
    }

    // Wait (a few seconds at most) until so many frames were shown, posted
    // or a failure told; false when that did not happen.
    bool waitForShown(size_t count)
    {
        return waitUntil([&] { return m_seen.size() >= count; });
    }
    bool waitForPosted(int count)
    {
        return waitUntil([&] { return m_postedInAll >= count; });
    }
    bool waitForFailure()
    {
        return waitUntil([&] { return m_failures > 0; });
    }

    std::vector<Seen> seen() const
    {
        std::lock_guard lock(m_mutex);
        return m_seen;
    }
    // How often the recorder said that a recording failed.
    int failures() const
    {
        std::lock_guard lock(m_mutex);
        return m_failures;
    }
    int posted() const
    {
        std::lock_guard lock(m_mutex);
        return m_postedInAll;
    }
    void clear()
    {
        std::lock_guard lock(m_mutex);
        m_seen.clear();
        m_failures = 0;
        m_posted = 0;
        m_postedInAll = 0;
    }

private:
    template<typename Condition>
    bool waitUntil(Condition condition)
    {
        std::unique_lock lock(m_mutex);
        return m_wake.wait_for(lock, std::chrono::seconds(10), condition);
    }

    void run()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_quit || (m_answering && m_posted > 0); });
            if (m_quit)
                return;
            --m_posted;
            const auto action = m_onShow;
            lock.unlock();
            m_recorder.finishHandOver([&](const LiveRecorder::LiveFrame &frame) {
                Seen seen{simulatedFrameNumber(frame.samples), frame.header, frame.status,
                          frame.frameCount, std::this_thread::get_id()};
                if (action)
                    action(frame);
                std::lock_guard seenLock(m_mutex);
                m_seen.push_back(seen);
                m_wake.notify_all();
            });
            lock.lock();
        }
    }

    LiveRecorder &m_recorder;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::function<void(const LiveRecorder::LiveFrame &)> m_onShow;
    std::vector<Seen> m_seen;
    int m_failures = 0;
    int m_posted = 0;
    int m_postedInAll = 0;
    bool m_answering = true;
    bool m_quit = false;
    std::thread m_thread;
};

} // namespace dorvane::test
