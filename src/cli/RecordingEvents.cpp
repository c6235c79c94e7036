#include "cli/RecordingEvents.h"

namespace dorvane::cli {

void RecordingEvents::frameRecorded()
{
    std::lock_guard lock(m_mutex);
    ++m_frames;
    m_wake.notify_all();
}

void RecordingEvents::recordingFailed()
{
    std::lock_guard lock(m_mutex);
    m_failed = true;
    m_wake.notify_all();
}

RecordingEvents::Event RecordingEvents::next(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    if (!m_wake.wait_for(lock, timeout, [this] { return m_failed || m_frames > 0; }))
        return Event::TimedOut;
    if (m_failed)
        return Event::Failed;
    --m_frames;
    return Event::Frame;
}

} // namespace dorvane::cli
