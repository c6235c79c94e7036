#pragma once

#include <atomic>
#include <mutex>
#include <thread>

namespace dorvane {

// The tilt alarm: five 1500 Hz tones of 60 ms with 60 ms between them, on a
// thread of its own, through the sound system. Silent, without error, where
// there is no sound device. One alarm at a time: one asked for while
// another sounds is dropped.
class AlarmTone
{
public:
    static AlarmTone &instance();
    ~AlarmTone();

    // True when an alarm started.
    bool sound();
    bool isSounding() const { return m_sounding; }

private:
    AlarmTone() = default;
    void play();

    std::atomic<bool> m_sounding{false};
    std::mutex m_mutex;
    std::thread m_thread;
};

} // namespace dorvane
