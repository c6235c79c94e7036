#include "core/library/SurveyReaderPool.h"

#include <algorithm>

namespace dorvane {

SurveyReaderPool::SurveyReaderPool(std::vector<std::string> paths, const GradingTable &grades,
                                   int workers, const std::atomic<bool> *cancel)
    : m_paths(std::move(paths)), m_grades(grades), m_cancel(cancel)
{
    size_t count = workers > 0 ? static_cast<size_t>(workers)
                               : std::max(1u, std::thread::hardware_concurrency());
    count = std::min(count, m_paths.size());
    m_workersLeft = count;
    m_queueLimit = std::max<size_t>(count, 1);
    m_threads.reserve(count);
    for (size_t i = 0; i < count; ++i)
        m_threads.emplace_back(&SurveyReaderPool::work, this);
}

SurveyReaderPool::~SurveyReaderPool()
{
    {
        // Whoever stops taking results early leaves the rest unread.
        std::lock_guard lock(m_mutex);
        m_nextIndex = m_paths.size();
    }
    m_room.notify_all();
    for (std::thread &thread : m_threads)
        thread.join();
}

std::optional<SurveyReaderPool::Read> SurveyReaderPool::next()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_done.empty() || m_workersLeft == 0; });
    if (m_done.empty())
        return std::nullopt;
    Read read = std::move(m_done.front());
    m_done.pop_front();
    m_room.notify_one();
    return read;
}

void SurveyReaderPool::work()
{
    std::unique_lock lock(m_mutex);
    const auto stopped = [this] { return m_nextIndex >= m_paths.size() || cancelled(); };
    while (!stopped()) {
        // Results the taker has not had yet, and the reads under way, stay
        // within one a worker.
        m_room.wait(lock, [&] { return m_done.size() + m_reading < m_queueLimit || stopped(); });
        if (stopped())
            break;
        Read read;
        read.index = m_nextIndex++;
        ++m_reading;
        lock.unlock();
        read.figures = readSurveyFigures(m_paths[read.index], m_grades, read.error);
        lock.lock();
        --m_reading;
        m_done.push_back(std::move(read));
        m_changed.notify_one();
    }
    --m_workersLeft;
    m_changed.notify_one();
}

} // namespace dorvane
