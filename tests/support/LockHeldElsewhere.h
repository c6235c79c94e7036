#pragma once

#include <string>
#include <sys/types.h>

namespace dorvane::test {

// Another process that holds the exclusive advisory lock of a file, as a
// program at work on it would, until this object goes.
class LockHeldElsewhere
{
public:
    explicit LockHeldElsewhere(const std::string &path);
    ~LockHeldElsewhere();
    LockHeldElsewhere(const LockHeldElsewhere &) = delete;
    LockHeldElsewhere &operator=(const LockHeldElsewhere &) = delete;

    // False when the other process could not take the lock.
    bool holds() const { return m_holds; }

private:
    pid_t m_child = -1;
    bool m_holds = false;
};

} // namespace dorvane::test
