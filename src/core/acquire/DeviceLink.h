#pragma once

#include "core/acquire/DeviceLibraryAbi.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <string>

namespace dorvane {

// The process-wide binding to the probe's device library. The library is
// libUsbDll.so in the program folder, or the file named by the environment
// variable TESSIQ_DEVICE_LIBRARY (or by useLibrary, before first use). While
// it cannot be loaded every operation tries again; once loaded it is never
// unloaded. Every export is looked up by name at every call: a missing
// export is a failed call, a missing bStop a missing library. Calls are safe
// from any thread.
class DeviceLink
{
public:
    static DeviceLink &instance();

    // Names the library to load instead of the default; only before the
    // first load (the batch tool's --device-library and --simulate).
    void useLibrary(const std::string &path);
    // Loads the library if it is not loaded yet: true when it is.
    bool load();
    // The file the link loads or has loaded.
    std::string libraryPath() const;
    // The loaded library is the probe simulator, not a probe.
    bool isSimulator();
    // What the simulator says of itself (empty for a real library).
    std::string simulatorName();

    // GetDevName: a device is attached. The answer is kept as the
    // process-wide device-present flag, so a second acquisition skips the
    // firmware download.
    bool findDevice();
    bool devicePresent() const { return m_devicePresent; }
    // bDLDHex with the firmware path (always "tcxmaster.hex").
    bool downloadFirmware(const char *firmwarePath = "tcxmaster.hex");
    // On_Vend_Request with a 64-byte reply buffer: the probe accepted.
    bool request(uint8_t code);
    bool getPipeInfo();
    // On_Copy_StatusBuf into a zero-filled buffer; false without the export.
    bool copyStatus(std::array<uint8_t, deviceabi::StatusSize> &status);
    // bStop := 0, SetRealDataFunc(callback), On_EP6Bulk_TreadProc.
    bool startStream(DeviceFrameCallback callback);
    // On_SetTreadProc_Stop(1), bStop := 1. Joins the library's thread: never
    // call it while that thread may wait for the caller.
    bool stopStream();

    // For tests: forget the loaded library's device flag.
    void resetDevicePresent() { m_devicePresent = false; }

private:
    DeviceLink() = default;
    void *symbol(const char *name);

    mutable std::mutex m_mutex;
    std::string m_path;
    bool m_pathChosen = false;
    void *m_handle = nullptr;
    bool m_devicePresent = false;
};

} // namespace dorvane
