// The exports of the probe's device library, with C linkage; everything
// else in the simulator stays hidden (see exports.map).
#include "core/acquire/DeviceLibraryAbi.h"
#include "probe-sim/SimulatedProbe.h"

#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <type_traits>

#define PROBE_SIM_EXPORT __attribute__((visibility("default")))

extern "C" {
PROBE_SIM_EXPORT unsigned char bStop = 0;
}

namespace {

dorvane::probesim::SimulatedProbe &probe()
{
    // Never destroyed: a program may end with the stream running, and its
    // thread may be inside the program's callback then.
    static auto *const simulated = new dorvane::probesim::SimulatedProbe(&bStop);
    return *simulated;
}

std::string libraryFolder()
{
    Dl_info info{};
    if (!::dladdr(reinterpret_cast<void *>(&libraryFolder), &info) || !info.dli_fname)
        return {};
    return std::filesystem::path(info.dli_fname).parent_path().string();
}

} // namespace

extern "C" {

PROBE_SIM_EXPORT unsigned char GetDevName(void)
{
    const auto call = probe().serialCall();
    return probe().deviceAttached() ? 1 : 0;
}

PROBE_SIM_EXPORT unsigned char bDLDHex(const char *firmwarePath)
{
    const auto call = probe().serialCall();
    return probe().downloadFirmware(firmwarePath, libraryFolder().c_str()) ? 1 : 0;
}

PROBE_SIM_EXPORT unsigned char On_Vend_Request(int code, unsigned char *reply64)
{
    const auto call = probe().serialCall();
    const bool accepted = probe().request(code);
    // The reply echoes the request; a program does not read it.
    if (reply64) {
        reply64[0] = static_cast<unsigned char>(code);
        reply64[1] = accepted ? 1 : 0;
    }
    return accepted ? 1 : 0;
}

PROBE_SIM_EXPORT unsigned char On_Get_PipeInfo(void)
{
    const auto call = probe().serialCall();
    return probe().pipeInfo() ? 1 : 0;
}

PROBE_SIM_EXPORT void SetRealDataFunc(DeviceFrameCallback callback)
{
    const auto call = probe().serialCall();
    probe().setCallback(callback);
}

PROBE_SIM_EXPORT void On_EP6Bulk_TreadProc(void)
{
    const auto call = probe().serialCall();
    probe().startStream();
}

PROBE_SIM_EXPORT void On_Copy_StatusBuf(unsigned char *status64)
{
    const auto call = probe().serialCall();
    probe().copyStatus(status64);
}

// Joins the frame thread, so it must not be called from a frame callback;
// from there it only asks the thread to end. It takes no serial lock: the
// thread it waits for takes that lock for each frame.
PROBE_SIM_EXPORT void On_SetTreadProc_Stop(int stop)
{
    if (stop)
        probe().stopStream();
}

PROBE_SIM_EXPORT const char *ProbeSimulator(void)
{
    return "probe simulator 1.0";
}

} // extern "C"

// The exports have exactly the types the program calls them through.
static_assert(std::is_same_v<decltype(&GetDevName), GetDevNameFunction>);
static_assert(std::is_same_v<decltype(&bDLDHex), DownloadHexFunction>);
static_assert(std::is_same_v<decltype(&On_Vend_Request), VendRequestFunction>);
static_assert(std::is_same_v<decltype(&On_Get_PipeInfo), GetPipeInfoFunction>);
static_assert(std::is_same_v<decltype(&SetRealDataFunc), SetRealDataFuncFunction>);
static_assert(std::is_same_v<decltype(&On_EP6Bulk_TreadProc), StartReadThreadFunction>);
static_assert(std::is_same_v<decltype(&On_Copy_StatusBuf), CopyStatusBufFunction>);
static_assert(std::is_same_v<decltype(&On_SetTreadProc_Stop), StopReadThreadFunction>);
static_assert(std::is_same_v<decltype(&ProbeSimulator), ProbeSimulatorFunction>);
static_assert(std::is_same_v<decltype(bStop), unsigned char>);
