#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "core/acquire/ProbeStatus.h"

#include <cstdio>

namespace dorvane::cli {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// 128 hexadecimal digits, two a byte.
ProbeStatus parseRecord(const std::string &hex)
{
    ProbeStatus status;
    bool ok = hex.size() == 2 * ProbeStatus::Size;
    for (size_t i = 0; ok && i < status.bytes.size(); ++i) {
        const int high = hexValue(hex[2 * i]), low = hexValue(hex[2 * i + 1]);
        ok = high >= 0 && low >= 0;
        status.bytes[i] = static_cast<uint8_t>(high * 16 + low);
    }
    if (!ok)
        throw UsageError{"expected the 64-byte status record as 128 hexadecimal digits"};
    return status;
}

} // namespace

int runProbeStatus(const std::vector<std::string> &args)
{
    const Arguments arguments(args, {}, {});
    arguments.expectPositional(1);
    const ProbeStatus status = parseRecord(arguments.positional()[0]);
    std::printf("tilt_deg: %.9g\n", static_cast<double>(status.tiltDegrees()));
    std::printf("roll_deg: %.9g\n", static_cast<double>(status.rollDegrees()));
    std::printf("pressure: %d\n", status.pressure());
    std::printf("temperature: %d\n", status.temperature());
    std::printf("distance_m: %.9g\n", static_cast<double>(status.distanceMetres()));
    std::printf("marker_valid: %s\n", status.hasMarker() ? "yes" : "no");
    return 0;
}

} // namespace dorvane::cli
