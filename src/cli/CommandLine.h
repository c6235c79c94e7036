#pragma once

#include "cli/Commands.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace CLI {
class App;
class Formatter;
} // namespace CLI

namespace dorvane::cli {

// The tool's command line: its commands with their options, help and
// checks.
class CommandLine
{
public:
    CommandLine();
    ~CommandLine();

    // Parses the arguments. Help and the manual page are printed to standard
    // output and bad usage is told on standard error: then the exit status
    // is returned (0 or 2) and no command is chosen.
    std::optional<int> parse(int argc, char **argv);
    // The chosen command's action.
    const CommandAction &action() const;
    // Tells bad usage of the chosen command found while it ran.
    void reportUsageError(const std::string &message) const;

    // The help of the tool and of each command, as a man page.
    std::string manPage() const;

private:
    void reportUsageError(const CLI::App &command, const std::string &message) const;

    std::shared_ptr<CLI::Formatter> m_formatter;
    std::unique_ptr<CLI::App> m_app;
    std::vector<std::pair<const CLI::App *, CommandAction>> m_commands;
    const CLI::App *m_chosen = nullptr;
    const CommandAction *m_action = nullptr;
};

} // namespace dorvane::cli
