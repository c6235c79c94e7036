#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace dorvane {

// The tilt alarm: five 1500 Hz tones of 60 ms with 60 ms between them, on a
// thread of its own, through the sound system. Silent, without error, where
// there is no sound device; the alarm then lasts as long all the same. One
// alarm at a time: one asked for while another sounds is dropped.
class AlarmTone
{
public:
    static AlarmTone &instance();
    // Ends a sounding alarm early and waits for its thread.
    ~AlarmTone();
    AlarmTone(const AlarmTone &) = delete;
    AlarmTone &operator=(const AlarmTone &) = delete;

    // True when an alarm started; returns at once.
    bool sound();
    bool isSounding() const { return m_sounding; }

private:
    AlarmTone() = default;
    void play();
    // Waits for the duration, or until the alarm is ended: true then.
    bool waitOrQuit(std::chrono::milliseconds duration);

    std::atomic<bool> m_sounding{false};
    std::mutex m_mutex;
    std::condition_variable m_quitSignal;
    bool m_quit = false;
    std::thread m_thread;
};

} // namespace dorvane
