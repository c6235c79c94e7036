#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace dorvane::cli {

// A bad command line: the tool prints the message and the usage, exit 2.
struct UsageError
{
    std::string message;
};

// A command line split into positional arguments, options with a value
// ("--frame 3", "-o out.bmp") and flags ("--grey"). Unknown options and
// missing values are usage errors.
class Arguments
{
public:
    Arguments(const std::vector<std::string> &args, const std::set<std::string> &valueOptions,
              const std::set<std::string> &flags);

    const std::vector<std::string> &positional() const { return m_positional; }
    bool flag(const std::string &name) const { return m_flags.count(name) > 0; }
    std::optional<std::string> value(const std::string &name) const;
    std::string required(const std::string &name) const;
    // An integer option within [min, max]; fallback when absent.
    long integer(const std::string &name, long fallback, long min, long max) const;

    // Exactly count positional arguments, else a usage error.
    void expectPositional(size_t count) const;

private:
    std::vector<std::string> m_positional;
    std::map<std::string, std::string> m_values;
    std::set<std::string> m_flags;
};

} // namespace dorvane::cli
