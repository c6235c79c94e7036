#pragma once

#include <cstdint>
#include <set>

namespace dorvane::probesim {

// How the simulated probe behaves, from the environment (see the README):
// TESSIQ_SIM_RATE, _DEVICE_DELAY, _REFUSE, _UNMARKED, _FAST, _TILT, _PIPE.
// A variable that is missing or cannot be read keeps the default.
struct SimulatorOptions
{
    double framesPerSecond = 10;
    int deviceDelayMs = 2000;      // from the first GetDevName to the device
    std::set<int> refusedRequests; // request codes the probe refuses
    int unmarkedPercent = 0;       // status records without their marker
    int fastPercent = 0;           // frames that follow after half the interval
    double tiltAmplitudeDeg = 3;   // the tilt sways up to this far either way
    int pipeRadiusMm = 150;        // the simulated pipe

    static SimulatorOptions fromEnvironment();
};

// Whether item n (0, 1, 2, ...) belongs to a share of percent items spread
// evenly: with 25 every fourth one, items 3, 7, 11 ...
bool inShare(uint32_t n, int percent);

} // namespace dorvane::probesim
