#pragma once

#include "core/acquire/DeviceLibraryAbi.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace dorvane {

// The binding to the probe's device library; the program uses the one of
// instance(). The library is libUsbDll.so in the program folder, or the file
// named by the environment variable TESSIQ_DEVICE_LIBRARY, or the one named
// by useLibrary before it is loaded. While it cannot be loaded every
// operation tries again; once loaded it is never unloaded. Every export is
// looked up by name at every call: a missing export is a failed call that
// does nothing, a missing bStop a missing library. Calls are safe from any
// thread; none holds a lock while the library runs.
class DeviceLink
{
public:
    // The process-wide binding.
    static DeviceLink &instance();
    // A binding of its own (tests); it shares the library's state with every
    // other binding of the same file.
    DeviceLink() = default;
    DeviceLink(const DeviceLink &) = delete;
    DeviceLink &operator=(const DeviceLink &) = delete;

    // Names the library to load instead of the default (the batch tool's
    // --device-library and --simulate); ignored once a library is loaded.
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
    // device-present flag, so a second acquisition skips the firmware
    // download.
    bool findDevice();
    bool devicePresent() const { return m_devicePresent; }
    // bDLDHex with the firmware file's path, which the library takes as
    // given: a relative one would depend on the program's working folder.
    bool downloadFirmware(const std::string &firmwarePath);
    // On_Vend_Request with a 64-byte reply buffer: the probe accepted.
    bool request(uint8_t code);
    bool getPipeInfo();
    // On_Copy_StatusBuf into a zero-filled buffer; false without the export.
    bool copyStatus(std::array<uint8_t, deviceabi::StatusSize> &status);
    // bStop := 0, SetRealDataFunc(callback), On_EP6Bulk_TreadProc; nothing
    // when one of them is missing.
    bool startStream(DeviceFrameCallback callback);
    // On_SetTreadProc_Stop(1), bStop := 1, each as far as it is there. Joins
    // the library's thread: never call it from that thread, nor while that
    // thread may wait for the caller.
    bool stopStream();

    // For tests: forget the device flag.
    void resetDevicePresent() { m_devicePresent = false; }

private:
    void *symbol(const char *name);
    bool setStopFlag(uint8_t value);
    std::string defaultPath() const;

    mutable std::mutex m_mutex;
    std::string m_path;
    bool m_pathChosen = false;
    void *m_handle = nullptr;
    std::atomic<bool> m_devicePresent{false};
};

} // namespace dorvane
