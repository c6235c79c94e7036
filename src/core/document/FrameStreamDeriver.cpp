#include "core/document/FrameStreamDeriver.h"

#include "core/base/PosixFile.h"
#include "core/base/ProgressSink.h"
#include "core/data/AnimationFile.h"

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <thread>
#include <vector>

namespace dorvane {

namespace {

constexpr int Pending = -1;

class ChunkedPass
{
public:
    ChunkedPass(const PosixFile &file, int frameCount, DerivedFrames &derived)
        : m_file(file), m_frameCount(frameCount), m_derived(derived),
          m_chunkCount((frameCount + FrameStreamDeriver::ChunkFrames - 1) /
                       FrameStreamDeriver::ChunkFrames),
          m_results(static_cast<size_t>(m_chunkCount), Pending)
    {
        for (auto &buffer : m_buffers)
            buffer.resize(static_cast<size_t>(FrameStreamDeriver::ChunkFrames) * FrameRecord::Size);
    }

    int run(FrameRecord &last, ProgressScope &progress)
    {
        std::thread helper([this] { helperLoop(); });
        int done = 0;
        for (int chunk = 0; chunk < m_chunkCount; ++chunk) {
            const int derived = chunk % 2 == 0 ? process(chunk, m_buffers[0]) : awaitHelper(chunk);
            for (int k = 0; k < derived; ++k)
                progress.step(first(chunk) + k, m_frameCount);
            done = first(chunk) + derived;
            if (derived < size(chunk))
                break;
        }
        m_stop = true;
        helper.join();

        if (done == m_frameCount && done > 0) {
            const int lastChunk = m_chunkCount - 1;
            const uint8_t *record = m_buffers[lastChunk % 2].data() +
                                    static_cast<size_t>(size(lastChunk) - 1) * FrameRecord::Size;
            last.header = FrameHeader::decode(
                std::span<const uint8_t, FrameHeader::Size>(record, FrameHeader::Size));
            std::memcpy(last.samples.data(), record + FrameHeader::Size, SampleCount);
        }
        return done;
    }

private:
    int first(int chunk) const { return chunk * FrameStreamDeriver::ChunkFrames; }
    int size(int chunk) const
    {
        return std::min(FrameStreamDeriver::ChunkFrames, m_frameCount - first(chunk));
    }

    // Reads and analyses one chunk; the number of frames derived before the
    // first one that is short or lacks its signature.
    int process(int chunk, std::vector<uint8_t> &buffer)
    {
        const size_t got = m_file.readSomeAt(frameOffset(first(chunk)), buffer.data(),
                                             static_cast<size_t>(size(chunk)) * FrameRecord::Size);
        const int complete = static_cast<int>(got / FrameRecord::Size);
        for (int k = 0; k < complete; ++k) {
            const uint8_t *record = buffer.data() + static_cast<size_t>(k) * FrameRecord::Size;
            const FrameHeader header = FrameHeader::decode(
                std::span<const uint8_t, FrameHeader::Size>(record, FrameHeader::Size));
            if (header.signature != FrameHeader::Signature)
                return k;
            m_derived.store(first(chunk) + k, header,
                            analyseFrame(header, record + FrameHeader::Size, pipeCentre(header)));
        }
        return complete;
    }

    void helperLoop()
    {
        for (int chunk = 1; chunk < m_chunkCount && !m_stop; chunk += 2) {
            const int derived = process(chunk, m_buffers[1]);
            {
                std::lock_guard lock(m_mutex);
                m_results[static_cast<size_t>(chunk)] = derived;
            }
            m_ready.notify_one();
            if (derived < size(chunk))
                return;
        }
    }

    int awaitHelper(int chunk)
    {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [&] { return m_results[static_cast<size_t>(chunk)] != Pending; });
        return m_results[static_cast<size_t>(chunk)];
    }

    const PosixFile &m_file;
    const int m_frameCount;
    DerivedFrames &m_derived;
    const int m_chunkCount;
    std::vector<uint8_t> m_buffers[2]; // the calling thread's, the helper's
    std::vector<int> m_results;        // frames derived per chunk by the helper
    std::atomic<bool> m_stop = false;
    std::mutex m_mutex;
    std::condition_variable m_ready;
};

} // namespace

int FrameStreamDeriver::derive(const PosixFile &file, int frameCount, DerivedFrames &derived,
                               FrameRecord &last, ProgressScope &progress)
{
    if (frameCount <= 0)
        return 0;
    posix_fadvise(file.descriptor(), 0, 0, POSIX_FADV_SEQUENTIAL);
    ChunkedPass pass(file, frameCount, derived);
    return pass.run(last, progress);
}

} // namespace dorvane
