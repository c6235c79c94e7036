#include "cli/Arguments.h"

#include <cerrno>
#include <cstdlib>

namespace dorvane::cli {

Arguments::Arguments(const std::vector<std::string> &args,
                     const std::set<std::string> &valueOptions, const std::set<std::string> &flags)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg.size() > 1 && arg[0] == '-') {
            if (valueOptions.count(arg)) {
                if (i + 1 >= args.size())
                    throw UsageError{"option " + arg + " needs a value"};
                m_values[arg] = args[++i];
            } else if (flags.count(arg)) {
                m_flags.insert(arg);
            } else {
                throw UsageError{"unknown option " + arg};
            }
        } else {
            m_positional.push_back(arg);
        }
    }
}

std::optional<std::string> Arguments::value(const std::string &name) const
{
    const auto it = m_values.find(name);
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

std::string Arguments::required(const std::string &name) const
{
    const auto v = value(name);
    if (!v)
        throw UsageError{"option " + name + " is required"};
    return *v;
}

long Arguments::integer(const std::string &name, long fallback, long min, long max) const
{
    const auto v = value(name);
    if (!v)
        return fallback;
    char *end = nullptr;
    errno = 0;
    const long n = std::strtol(v->c_str(), &end, 10);
    if (v->empty() || *end != '\0' || errno == ERANGE || n < min || n > max)
        throw UsageError{"option " + name + " takes a whole number from " + std::to_string(min) +
                         " to " + std::to_string(max)};
    return n;
}

void Arguments::expectPositional(size_t count) const
{
    if (m_positional.size() != count)
        throw UsageError{"expected " + std::to_string(count) + " file argument" +
                         (count == 1 ? "" : "s")};
}

} // namespace dorvane::cli
