#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "core/acquire/ProbeStatus.h"

#include <charconv>
#include <cstdio>

namespace dorvane::cli {

namespace {

// 128 hexadecimal digits, two a byte.
ProbeStatus parseRecord(const std::string &hex)
{
    ProbeStatus status;
    bool ok = hex.size() == 2 * ProbeStatus::Size;
    for (size_t i = 0; ok && i < status.bytes.size(); ++i) {
        const char *digits = hex.data() + 2 * i;
        const auto [end, error] = std::from_chars(digits, digits + 2, status.bytes[i], 16);
        ok = error == std::errc() && end == digits + 2;
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
