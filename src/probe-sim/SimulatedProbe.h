#pragma once

#include "core/acquire/DeviceLibraryAbi.h"
#include "core/acquire/ProbeStatus.h"
#include "probe-sim/SimulatorOptions.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace dorvane::probesim {

// A probe on its cable behind a USB adapter. The device appears a while
// after it is first looked for; it answers requests once its firmware is
// downloaded; while started (request 0x3D) and streaming, it delivers frames
// of a simulated pipe on its own thread at a steady rate, each with a status
// record, and its cable counter advances 20 counts (0.1 m) a frame.
class SimulatedProbe
{
public:
    // stopFlag is the library's exported bStop: no frame is delivered while
    // it is set.
    explicit SimulatedProbe(unsigned char *stopFlag);
    ~SimulatedProbe();
    SimulatedProbe(const SimulatedProbe &) = delete;
    SimulatedProbe &operator=(const SimulatedProbe &) = delete;

    // The one lock of a library that serialises its calls (the option
    // serialCalls), held by the returned object; without it, nothing.
    std::unique_lock<std::recursive_mutex> serialCall();

    bool deviceAttached();
    // firmwarePath relative to the current folder or, unless it is to be
    // taken as given, the library's folder.
    bool downloadFirmware(const char *firmwarePath, const char *libraryFolder);
    bool request(int code);
    bool pipeInfo();
    void setCallback(DeviceFrameCallback callback);
    void copyStatus(unsigned char *status64);
    // Starts the thread unless it runs; frame numbers start from 0.
    void startStream();
    // Ends the thread and waits for it. From the thread itself (a callback)
    // it only asks it to end.
    void stopStream();

private:
    void run(SimulatorOptions options);
    bool readyForRequests() const;

    std::recursive_mutex m_serial;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    unsigned char *m_stopFlag;
    std::optional<std::chrono::steady_clock::time_point> m_attachTime;
    bool m_firmwareLoaded = false;
    bool m_started = false; // request 0x3D, until 0x3E
    int m_detectRadiusMm = 187;
    int m_distanceCount = 0;
    ProbeStatus m_status;
    DeviceFrameCallback m_callback = nullptr;
    std::thread m_thread;
    bool m_stopRequested = false;
};

} // namespace dorvane::probesim
