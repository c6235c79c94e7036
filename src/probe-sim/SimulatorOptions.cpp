#include "probe-sim/SimulatorOptions.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>

namespace dorvane::probesim {

namespace {

const char *variable(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value ? value : nullptr;
}

double number(const char *name, double fallback, double min, double max)
{
    const char *text = variable(name);
    if (!text)
        return fallback;
    char *end = nullptr;
    errno = 0;
    const double value = std::strtod(text, &end);
    if (*end != '\0' || errno == ERANGE || !(value >= min && value <= max))
        return fallback;
    return value;
}

int whole(const char *name, int fallback, int min, int max)
{
    return static_cast<int>(number(name, fallback, min, max));
}

// "3D,5C" or "0x3d 0x5c": hexadecimal request codes.
std::set<int> requestCodes(const char *name)
{
    std::set<int> codes;
    const char *text = variable(name);
    if (!text)
        return codes;
    std::string list(text);
    std::replace(list.begin(), list.end(), ',', ' ');
    const char *p = list.c_str();
    for (;;) {
        char *end = nullptr;
        const long code = std::strtol(p, &end, 16);
        if (end == p)
            break;
        if (code >= 0 && code <= 255)
            codes.insert(static_cast<int>(code));
        p = end;
    }
    return codes;
}

} // namespace

SimulatorOptions SimulatorOptions::fromEnvironment()
{
    SimulatorOptions options;
    options.framesPerSecond = number("TESSIQ_SIM_RATE", options.framesPerSecond, 0.1, 1000);
    options.deviceDelayMs =
        whole("TESSIQ_SIM_DEVICE_DELAY", options.deviceDelayMs, 0, 24 * 3600 * 1000);
    options.refusedRequests = requestCodes("TESSIQ_SIM_REFUSE");
    options.unmarkedPercent = whole("TESSIQ_SIM_UNMARKED", options.unmarkedPercent, 0, 100);
    options.fastPercent = whole("TESSIQ_SIM_FAST", options.fastPercent, 0, 100);
    options.tiltAmplitudeDeg = number("TESSIQ_SIM_TILT", options.tiltAmplitudeDeg, -56, 56);
    options.pipeRadiusMm = whole("TESSIQ_SIM_PIPE", options.pipeRadiusMm, 10, 6000);
    options.firmwareAsGiven = whole("TESSIQ_SIM_FIRMWARE_AS_GIVEN", 0, 0, 1) == 1;
    options.serialCalls = whole("TESSIQ_SIM_SERIAL", 0, 0, 1) == 1;
    return options;
}

bool inShare(uint32_t n, int percent)
{
    const uint64_t next = (uint64_t{n} + 1) * static_cast<uint64_t>(percent) / 100;
    const uint64_t here = uint64_t{n} * static_cast<uint64_t>(percent) / 100;
    return next > here;
}

} // namespace dorvane::probesim
