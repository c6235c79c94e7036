#pragma once

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace dorvane::test {

// Sets environment variables for the probe simulator and puts back what was
// there when it goes. The simulator reads them on the caller's thread when a
// call starts something, so they are set before that call.
class ScopedEnvironment
{
public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment()
    {
        for (const auto &[name, value] : m_saved) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

    void set(const std::string &name, const std::string &value)
    {
        save(name);
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    void unset(const std::string &name)
    {
        save(name);
        ::unsetenv(name.c_str());
    }

private:
    void save(const std::string &name)
    {
        if (m_saved.count(name))
            return;
        const char *old = std::getenv(name.c_str());
        m_saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }

    std::map<std::string, std::optional<std::string>> m_saved;
};

// A simulator that is there at once and delivers frames quickly.
inline void fastSimulator(ScopedEnvironment &environment, int framesPerSecond = 250)
{
    environment.set("TESSIQ_SIM_DEVICE_DELAY", "0");
    environment.set("TESSIQ_SIM_RATE", std::to_string(framesPerSecond));
    environment.unset("TESSIQ_SIM_REFUSE");
    environment.unset("TESSIQ_SIM_UNMARKED");
    environment.unset("TESSIQ_SIM_FAST");
    environment.unset("TESSIQ_SIM_TILT");
    environment.unset("TESSIQ_SIM_PIPE");
}

} // namespace dorvane::test
