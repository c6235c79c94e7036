#pragma once

#include "core/assess/GradingTable.h"
#include "core/library/SurveyFigures.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace dorvane::cli {

// Reads the figures of many surveys on worker threads, in their order, and
// says through a descriptor when more are read. Cancelled, the workers stop
// after the surveys they are reading; they are joined when it goes.
class FigureReader
{
public:
    struct Result
    {
        std::optional<SurveyFigures> figures;
        std::string error;
    };

    FigureReader(std::vector<std::string> paths, GradingTable grades, int workers);
    ~FigureReader();
    FigureReader(const FigureReader &) = delete;
    FigureReader &operator=(const FigureReader &) = delete;

    // Readable when more surveys are read; -1 when it could not be made (then
    // the caller looks again from time to time).
    int descriptor() const { return m_event; }
    // Empties the descriptor.
    void acknowledge();
    // Whether survey i is read; its result then.
    bool isRead(size_t i) const;
    const Result &result(size_t i) const { return m_results[i]; }
    void cancel() { m_cancelled = true; }

private:
    void work();

    const std::vector<std::string> m_paths;
    const GradingTable m_grades;
    std::vector<Result> m_results;
    std::vector<char> m_read;
    mutable std::mutex m_mutex;
    std::atomic<size_t> m_next{0};
    std::atomic<bool> m_cancelled{false};
    int m_event = -1;
    std::vector<std::thread> m_workers;
};

} // namespace dorvane::cli
