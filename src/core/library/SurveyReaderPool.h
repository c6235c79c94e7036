#pragma once

#include "core/assess/GradingTable.h"
#include "core/library/SurveyFigures.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace dorvane {

// Reads surveys' figures on worker threads and hands them, as each is done,
// to the one thread that takes them with next(). The workers share nothing
// but the list of paths and the queue of results, which holds at most one
// result a worker: they read no further ahead of the taker than that, so a
// cancel stops the reading soon and a slow taker holds little memory.
class SurveyReaderPool
{
public:
    struct Read
    {
        size_t index = 0; // in the paths given
        std::optional<SurveyFigures> figures;
        std::string error; // why it could not be read
    };

    // workers: at most this many threads (0: one per core). Once cancel is
    // set no survey more is begun; those being read still come out.
    SurveyReaderPool(std::vector<std::string> paths, const GradingTable &grades, int workers,
                     const std::atomic<bool> *cancel);
    ~SurveyReaderPool();
    SurveyReaderPool(const SurveyReaderPool &) = delete;
    SurveyReaderPool &operator=(const SurveyReaderPool &) = delete;

    // The next survey read, waiting for one; empty when none is left.
    std::optional<Read> next();

private:
    void work();
    bool cancelled() const { return m_cancel && m_cancel->load(); }

    const std::vector<std::string> m_paths;
    const GradingTable m_grades;
    const std::atomic<bool> *m_cancel;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::condition_variable m_room; // a result was taken
    size_t m_queueLimit = 1;
    std::deque<Read> m_done;
    size_t m_nextIndex = 0;
    size_t m_reading = 0;
    size_t m_workersLeft = 0;
    std::vector<std::thread> m_threads;
};

} // namespace dorvane
