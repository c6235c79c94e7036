#pragma once

#include <cstdint>
#include <set>

namespace dorvane::probesim {

// How the simulated probe behaves, from the environment (see the README):
// TESSIQ_SIM_RATE, _DEVICE_DELAY, _REFUSE, _UNMARKED, _FAST, _TILT, _PIPE,
// and the two that make it as strict as a device library may be:
// _FIRMWARE_AS_GIVEN=1 and _SERIAL=1. A variable that is missing or cannot
// be read keeps the default.
struct SimulatorOptions
{
    double framesPerSecond = 10;
    int deviceDelayMs = 2000;      // from the first GetDevName to the device
    std::set<int> refusedRequests; // request codes the probe refuses
    int unmarkedPercent = 0;       // status records without their marker
    int fastPercent = 0;           // frames that follow after half the interval
    double tiltAmplitudeDeg = 3;   // the tilt sways up to this far either way;
                                   // negative: backwards first
    int pipeRadiusMm = 150;        // the simulated pipe
    // The firmware path is taken as given (a relative one from the current
    // folder), not also looked for beside the library.
    bool firmwareAsGiven = false;
    // Every call runs under one lock, and so does the frame callback, as in
    // a library that serialises its calls.
    bool serialCalls = false;

    static SimulatorOptions fromEnvironment();
};

// Whether item n (0, 1, 2, ...) belongs to a share of percent items spread
// evenly: with 25 every fourth one, items 3, 7, 11 ...
bool inShare(uint32_t n, int percent);

} // namespace dorvane::probesim
