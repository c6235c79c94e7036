#pragma once

#include <csignal>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace dorvane::cli {

// A child process of the tool with its stderr captured and its standard
// output discarded: in a session of its own, so that it and whatever it
// starts (LibreOffice, in a process group of its own) are stopped together.
// Ending it is the owner's choice: the destructor kills what is left of the
// session and reaps the child.
class ReportChild
{
public:
    // Starts program with the arguments (argument 0 included) and the
    // environment extra entries ("NAME=value") over this process's own,
    // with the signals in unblocked set back to their defaults and
    // unblocked. Null, with error saying why, when it cannot start.
    static std::unique_ptr<ReportChild> start(const std::string &program,
                                              const std::vector<std::string> &arguments,
                                              const std::vector<std::string> &extra,
                                              const sigset_t &unblocked, std::string &error);
    ~ReportChild();
    ReportChild(const ReportChild &) = delete;
    ReportChild &operator=(const ReportChild &) = delete;

    // The read end of its stderr; -1 once it is closed.
    int errorDescriptor() const { return m_errors; }
    // Takes what its stderr holds now; closes it at its end.
    void readErrors();
    // True once it has ended and been reaped; its stderr is then taken whole
    // (what is there: a process it left behind may keep the pipe open).
    bool reap();
    bool ended() const { return m_ended; }
    bool succeeded() const;
    // Why it failed: its stderr's lines, else its status.
    std::string failure() const;
    // Sends the signal to every process of its session.
    void signal(int signal);
    // Whether it has been reaped and nothing of its session is left.
    bool sessionEnded() const;

private:
    ReportChild(pid_t pid, int errors) : m_pid(pid), m_errors(errors) {}
    void closeErrors();

    pid_t m_pid;
    int m_errors;
    bool m_ended = false;
    int m_status = 0;
    std::string m_errorText;
};

} // namespace dorvane::cli
