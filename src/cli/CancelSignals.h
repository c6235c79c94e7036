#pragma once

#include <csignal>

namespace dorvane::cli {

// SIGINT and SIGTERM (which cancel) and SIGCHLD (a child ended) taken as
// they come through a descriptor instead of handlers, so that a batch can
// wait for its children and for a cancel in one poll. Made before any thread
// starts, so that every thread leaves them blocked; the mask is restored
// when it goes, with what came meanwhile dropped.
class CancelSignals
{
public:
    CancelSignals();
    ~CancelSignals();
    CancelSignals(const CancelSignals &) = delete;
    CancelSignals &operator=(const CancelSignals &) = delete;

    // -1 when the descriptor could not be made.
    int descriptor() const { return m_fd; }
    // Reads the signals that came; the cancelling one, or 0 when none did.
    int take();
    // The signals blocked here, for a child to unblock.
    const sigset_t &blocked() const { return m_blocked; }

private:
    sigset_t m_blocked{};
    sigset_t m_previous{};
    int m_fd = -1;
};

} // namespace dorvane::cli
