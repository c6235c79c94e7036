#include "cli/FigureReader.h"

#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace dorvane::cli {

FigureReader::FigureReader(std::vector<std::string> paths, GradingTable grades, int workers)
    : m_paths(std::move(paths)), m_grades(std::move(grades)), m_results(m_paths.size()),
      m_read(m_paths.size(), 0), m_event(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    for (int i = 0; i < workers && static_cast<size_t>(i) < m_paths.size(); ++i)
        m_workers.emplace_back([this] { work(); });
}

FigureReader::~FigureReader()
{
    cancel();
    for (std::thread &worker : m_workers)
        worker.join();
    if (m_event >= 0)
        ::close(m_event);
}

void FigureReader::acknowledge()
{
    uint64_t count = 0;
    if (m_event >= 0 && ::read(m_event, &count, sizeof count) < 0)
        count = 0; // nothing was signalled
}

bool FigureReader::isRead(size_t i) const
{
    const std::lock_guard lock(m_mutex);
    return m_read[i] != 0;
}

void FigureReader::work()
{
    while (!m_cancelled) {
        const size_t i = m_next++;
        if (i >= m_paths.size())
            return;
        Result result;
        result.figures = readSurveyFigures(m_paths[i], m_grades, result.error);
        {
            const std::lock_guard lock(m_mutex);
            m_results[i] = std::move(result);
            m_read[i] = 1;
        }
        const uint64_t one = 1;
        if (m_event >= 0 && ::write(m_event, &one, sizeof one) < 0)
            continue; // the counter is full: it is readable anyway
    }
}

} // namespace dorvane::cli
