#include "cli/Commands.h"
#include "core/acquire/ProbeStatus.h"

#include <CLI/App.hpp>
#include <CLI/Validators.hpp>
#include <charconv>
#include <cstdio>
#include <memory>

namespace dorvane::cli {

namespace {

// 128 hexadecimal digits, two a byte.
bool parseRecord(const std::string &hex, ProbeStatus &status)
{
    bool ok = hex.size() == 2 * ProbeStatus::Size;
    for (size_t i = 0; ok && i < status.bytes.size(); ++i) {
        const char *digits = hex.data() + 2 * i;
        const auto [end, error] = std::from_chars(digits, digits + 2, status.bytes[i], 16);
        ok = error == std::errc() && end == digits + 2;
    }
    return ok;
}

int runProbeStatus(const std::string &hex)
{
    ProbeStatus status;
    parseRecord(hex, status);
    std::printf("tilt_deg: %.9g\n", static_cast<double>(status.tiltDegrees()));
    std::printf("roll_deg: %.9g\n", static_cast<double>(status.rollDegrees()));
    std::printf("pressure: %d\n", status.pressure());
    std::printf("temperature: %d\n", status.temperature());
    std::printf("distance_m: %.9g\n", static_cast<double>(status.distanceMetres()));
    std::printf("marker_valid: %s\n", status.hasMarker() ? "yes" : "no");
    return 0;
}

} // namespace

CommandAction addProbeStatus(CLI::App &command)
{
    auto hex = std::make_shared<std::string>();
    command.add_option("HEX128", *hex, "the record's 64 bytes as 128 hexadecimal digits")
        ->type_name("")
        ->required()
        ->check(CLI::Validator(
            [](const std::string &text) {
                ProbeStatus status;
                return parseRecord(text, status)
                           ? std::string()
                           : std::string("expected the 64-byte status record as 128 "
                                         "hexadecimal digits");
            },
            ""));
    return [hex] { return runProbeStatus(*hex); };
}

} // namespace dorvane::cli
