#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace dorvane {

// Encodes equally sized bitmaps on a thread of its own while the caller makes
// the next ones. Each is copied into one of a few slots as a bottom-up block
// of padded rows, so memory stays the same however long the movie is; a
// caller that gets ahead waits for a slot. The first frame the encoding
// refuses stops the thread: what is queued behind it is dropped and every
// later push fails.
class FrameEncodingThread
{
public:
    // The slots: the frame being encoded and those waiting behind it.
    static constexpr size_t SlotCount = 3;

    // Frames of rows rows of rowBytes bytes, held stride bytes apart; encode
    // runs on the thread, once for each frame and in order, and returns
    // false when it failed. Throws when the slots or the thread cannot be had.
    FrameEncodingThread(int rows, size_t rowBytes, size_t stride,
                        std::function<bool(const uint8_t *)> encode);
    // Waits for the frame being encoded; the others are dropped.
    ~FrameEncodingThread();
    FrameEncodingThread(const FrameEncodingThread &) = delete;
    FrameEncodingThread &operator=(const FrameEncodingThread &) = delete;

    // Queues a copy of the frame whose bottom row is at bottomRow, each row
    // above it rowStep bytes on. False, with nothing queued, once the
    // encoding has failed or finish() was called.
    bool push(const uint8_t *bottomRow, ptrdiff_t rowStep);
    // Encodes everything queued and ends the thread. False when the
    // encoding failed.
    bool finish();

private:
    void run();
    void end(bool encodeQueued);

    size_t m_rows;
    size_t m_rowBytes;
    size_t m_stride;
    std::function<bool(const uint8_t *)> m_encode;
    std::vector<std::unique_ptr<uint8_t[]>> m_slots;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    // The slot of the oldest queued frame, and how many are queued.
    size_t m_next = 0;
    size_t m_queued = 0;
    bool m_failed = false;
    // Set once: the thread encodes what is queued, or only the frame it
    // holds, and ends.
    bool m_finishing = false;
    bool m_stopping = false;

    std::thread m_thread;
};

} // namespace dorvane
