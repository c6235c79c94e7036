#include "core/export/FrameEncodingThread.h"

#include <cstring>
#include <utility>

namespace dorvane {

FrameEncodingThread::FrameEncodingThread(int rows, size_t rowBytes, size_t stride,
                                         std::function<bool(const uint8_t *)> encode)
    : m_rows(static_cast<size_t>(rows)), m_rowBytes(rowBytes), m_stride(stride),
      m_encode(std::move(encode))
{
    // Not zero-filled: the rows of every slot are written before it is read.
    for (size_t i = 0; i < SlotCount; ++i)
        m_slots.push_back(std::make_unique_for_overwrite<uint8_t[]>(m_stride * m_rows));
    m_thread = std::thread([this] { run(); });
}

FrameEncodingThread::~FrameEncodingThread()
{
    end(false);
}

bool FrameEncodingThread::push(const uint8_t *bottomRow, ptrdiff_t rowStep)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_queued < SlotCount || m_failed; });
    if (m_failed || m_finishing || m_stopping)
        return false;
    // The thread leaves this slot alone until the frame is counted in.
    uint8_t *slot = m_slots[(m_next + m_queued) % SlotCount].get();
    lock.unlock();
    if (rowStep == static_cast<ptrdiff_t>(m_stride)) {
        std::memcpy(slot, bottomRow, m_stride * m_rows);
    } else {
        for (size_t y = 0; y < m_rows; ++y)
            std::memcpy(slot + y * m_stride, bottomRow + static_cast<ptrdiff_t>(y) * rowStep,
                        m_rowBytes);
    }
    lock.lock();
    ++m_queued;
    m_changed.notify_all();
    return true;
}

bool FrameEncodingThread::finish()
{
    end(true);
    const std::lock_guard lock(m_mutex);
    return !m_failed;
}

void FrameEncodingThread::end(bool encodeQueued)
{
    {
        const std::lock_guard lock(m_mutex);
        (encodeQueued ? m_finishing : m_stopping) = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void FrameEncodingThread::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] { return m_queued > 0 || m_finishing || m_stopping; });
        if (m_stopping || m_queued == 0)
            return;
        const uint8_t *frame = m_slots[m_next].get();
        lock.unlock();
        const bool encoded = m_encode(frame);
        lock.lock();
        m_next = (m_next + 1) % SlotCount;
        --m_queued;
        m_failed = !encoded;
        m_changed.notify_all();
        if (m_failed)
            return;
    }
}

} // namespace dorvane
