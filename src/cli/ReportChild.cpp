#include "cli/ReportChild.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

extern char **environ;

namespace dorvane::cli {

namespace {

bool sameName(const std::string &entry, const std::string &other)
{
    const size_t equals = entry.find('=');
    return equals != std::string::npos && other.compare(0, equals + 1, entry, 0, equals + 1) == 0;
}

std::vector<std::string> environmentWith(const std::vector<std::string> &extra)
{
    std::vector<std::string> entries;
    for (char **entry = environ; *entry; ++entry) {
        bool replaced = false;
        for (const std::string &e : extra)
            replaced = replaced || sameName(e, *entry);
        if (!replaced)
            entries.emplace_back(*entry);
    }
    entries.insert(entries.end(), extra.begin(), extra.end());
    return entries;
}

std::vector<char *> pointersTo(std::vector<std::string> &texts)
{
    std::vector<char *> pointers;
    for (std::string &text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// The text's lines, trimmed and joined by "; ", on one line.
std::string oneLine(const std::string &text)
{
    std::string joined;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find('\n', begin);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(begin, end - begin);
        for (char &c : line)
            if (c == '\t' || c == '\r')
                c = ' ';
        const size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos) {
            line = line.substr(first, line.find_last_not_of(' ') - first + 1);
            joined += (joined.empty() ? "" : "; ") + line;
        }
        begin = end + 1;
    }
    return joined;
}

// The processes of the session: the child, which leads it, and what it
// started, LibreOffice among them in a process group of its own.
std::vector<pid_t> sessionMembers(pid_t session)
{
    std::vector<pid_t> members;
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream stat(entry.path() / "stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        // After the command's name: state, parent, process group, session.
        std::istringstream fields(text.substr(text.rfind(')') + 1));
        std::string state;
        pid_t parent = 0, group = 0, member = 0;
        if (fields >> state >> parent >> group >> member && member == session)
            members.push_back(static_cast<pid_t>(std::stol(name)));
    }
    return members;
}

} // namespace

std::unique_ptr<ReportChild> ReportChild::start(const std::string &program,
                                                const std::vector<std::string> &arguments,
                                                const std::vector<std::string> &extra,
                                                const sigset_t &unblocked, std::string &error)
{
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &unblocked);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                              POSIX_SPAWN_SETPGROUP);

    std::vector<std::string> argumentTexts = arguments;
    std::vector<std::string> environment = environmentWith(extra);
    const std::vector<char *> argv = pointersTo(argumentTexts);
    const std::vector<char *> envp = pointersTo(environment);
    pid_t pid = -1;
    const int failed =
        posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    if (failed) {
        ::close(pipe[0]);
        error = std::strerror(failed);
        return nullptr;
    }
    ::fcntl(pipe[0], F_SETFL, O_NONBLOCK);
    return std::unique_ptr<ReportChild>(new ReportChild(pid, pipe[0]));
}

ReportChild::~ReportChild()
{
    if (!m_ended) {
        signal(SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    for (pid_t member : sessionMembers(m_pid))
        ::kill(member, SIGKILL);
    closeErrors();
}

void ReportChild::readErrors()
{
    char buffer[4096];
    while (m_errors >= 0) {
        const ssize_t n = ::read(m_errors, buffer, sizeof buffer);
        if (n > 0)
            m_errorText.append(buffer, static_cast<size_t>(n));
        else if (n == 0)
            closeErrors(); // every writer has gone
        else if (errno != EINTR)
            break; // nothing more for now
    }
}

bool ReportChild::reap()
{
    if (m_ended)
        return true;
    if (::waitpid(m_pid, &m_status, WNOHANG) != m_pid)
        return false;
    m_ended = true;
    readErrors();
    closeErrors();
    return true;
}

bool ReportChild::succeeded() const
{
    return m_ended && WIFEXITED(m_status) && WEXITSTATUS(m_status) == 0;
}

std::string ReportChild::failure() const
{
    const std::string text = oneLine(m_errorText);
    if (!text.empty())
        return text;
    if (WIFSIGNALED(m_status))
        return std::string("ended by signal ") + std::to_string(WTERMSIG(m_status)) + " (" +
               strsignal(WTERMSIG(m_status)) + ")";
    return "exit status " + std::to_string(WEXITSTATUS(m_status));
}

void ReportChild::signal(int signal)
{
    for (pid_t member : sessionMembers(m_pid))
        ::kill(member, signal);
}

bool ReportChild::sessionEnded() const
{
    return m_ended && sessionMembers(m_pid).empty();
}

void ReportChild::closeErrors()
{
    if (m_errors >= 0)
        ::close(m_errors);
    m_errors = -1;
}

} // namespace dorvane::cli
