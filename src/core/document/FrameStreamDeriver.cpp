#include "core/document/FrameStreamDeriver.h"

#include "core/base/PosixFile.h"
#include "core/base/ProgressSink.h"
#include "core/data/AnimationFile.h"

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <thread>
#include <vector>

namespace dorvane {

namespace {

constexpr int Chunk = FrameStreamDeriver::ChunkFrames;

class ChunkedPass
{
public:
    ChunkedPass(const PosixFile &file, int frameCount, DerivedFrames &derived, int growthFrames)
        : m_file(file), m_frameCount(frameCount), m_derived(derived),
          m_chunkCount(wholeChunks(frameCount)),
          m_growth(std::clamp(wholeChunks(growthFrames), 1, INT_MAX / Chunk) * Chunk)
    {
        for (auto &buffer : m_buffers)
            buffer.resize(static_cast<size_t>(Chunk) * FrameRecord::Size);
    }

    int run(FrameRecord &last, ProgressScope &progress)
    {
        std::thread helper([this] { helperLoop(); });
        int done = 0;
        try {
            done = deriveChunks(progress);
        } catch (...) {
            stopHelper(helper);
            throw;
        }
        stopHelper(helper);

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
    static int wholeChunks(int frames) { return frames / Chunk + (frames % Chunk != 0 ? 1 : 0); }
    int first(int chunk) const { return chunk * Chunk; }
    int size(int chunk) const { return std::min(Chunk, m_frameCount - first(chunk)); }
    int end(int chunk) const { return first(chunk) + size(chunk); }

    int deriveChunks(ProgressScope &progress)
    {
        int done = 0;
        for (int chunk = 0; chunk < m_chunkCount; ++chunk) {
            if (end(chunk) > m_room)
                grow();
            const int derived = chunk % 2 == 0 ? process(chunk, m_buffers[0]) : awaitHelper(chunk);
            for (int k = 0; k < derived; ++k)
                progress.step(first(chunk) + k, m_frameCount);
            done = first(chunk) + derived;
            if (derived < size(chunk))
                break;
        }
        return done;
    }

    // Called only when the next chunk lies beyond the room: every chunk
    // before it is done and the helper waits for room, so nothing reads or
    // writes the arrays while they move. The growth is a whole number of
    // chunks, so one growth takes in the next chunk.
    void grow()
    {
        const int room = m_frameCount - m_room <= m_growth ? m_frameCount : m_room + m_growth;
        m_derived.extend(room);
        {
            std::lock_guard lock(m_mutex);
            m_room = room;
        }
        m_roomMade.notify_one();
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

    // Allocates nothing: an exception here would end the process.
    void helperLoop()
    {
        for (int chunk = 1; chunk < m_chunkCount; chunk += 2) {
            {
                std::unique_lock lock(m_mutex);
                m_roomMade.wait(lock, [&] { return m_stop || end(chunk) <= m_room; });
                if (m_stop)
                    return;
            }
            const int derived = process(chunk, m_buffers[1]);
            {
                std::lock_guard lock(m_mutex);
                m_helperChunk = chunk;
                m_helperDerived = derived;
            }
            m_chunkDone.notify_one();
            if (derived < size(chunk))
                return;
        }
    }

    int awaitHelper(int chunk)
    {
        std::unique_lock lock(m_mutex);
        m_chunkDone.wait(lock, [&] { return m_helperChunk >= chunk; });
        // The helper stops at its first short chunk, so a later chunk done
        // means this one was whole.
        return m_helperChunk == chunk ? m_helperDerived : size(chunk);
    }

    void stopHelper(std::thread &helper)
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_roomMade.notify_one();
        helper.join();
    }

    const PosixFile &m_file;
    const int m_frameCount;
    DerivedFrames &m_derived;
    const int m_chunkCount;
    const int m_growth;                // frames, whole chunks
    std::vector<uint8_t> m_buffers[2]; // the calling thread's, the helper's

    // Guarded by m_mutex: the frames the arrays have room for, the helper's
    // last chunk and what it derived of it.
    std::mutex m_mutex;
    std::condition_variable m_roomMade;
    std::condition_variable m_chunkDone;
    int m_room = 0;
    int m_helperChunk = -1;
    int m_helperDerived = 0;
    bool m_stop = false;
};

} // namespace

int FrameStreamDeriver::derive(const PosixFile &file, int frameCount, DerivedFrames &derived,
                               FrameRecord &last, ProgressScope &progress, int growthFrames)
{
    derived.clear();
    if (frameCount <= 0)
        return 0;
    posix_fadvise(file.descriptor(), 0, 0, POSIX_FADV_SEQUENTIAL);
    ChunkedPass pass(file, frameCount, derived, growthFrames);
    return pass.run(last, progress);
}

} // namespace dorvane
