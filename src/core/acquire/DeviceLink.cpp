#include "core/acquire/DeviceLink.h"

#include "core/app/ProgramPaths.h"

#include <atomic>
#include <cstdlib>
#include <dlfcn.h>

namespace dorvane {

namespace {

constexpr const char *DefaultLibrary = "libUsbDll.so";
constexpr const char *LibraryVariable = "TESSIQ_DEVICE_LIBRARY";

// dlsym gives an object's address; a function's is cast from it.
template<typename Function>
Function as(void *address)
{
    return reinterpret_cast<Function>(address);
}

} // namespace

DeviceLink &DeviceLink::instance()
{
    // Never destroyed: the library's thread may call in until the very end.
    static DeviceLink *const link = new DeviceLink;
    return *link;
}

void DeviceLink::useLibrary(const std::string &path)
{
    std::lock_guard lock(m_mutex);
    if (m_handle)
        return;
    m_path = path;
    m_pathChosen = true;
}

std::string DeviceLink::defaultPath() const
{
    if (m_pathChosen)
        return m_path;
    const char *variable = std::getenv(LibraryVariable);
    if (variable && *variable)
        return variable;
    return programFolder() + DefaultLibrary;
}

std::string DeviceLink::libraryPath() const
{
    std::lock_guard lock(m_mutex);
    return m_handle ? m_path : defaultPath();
}

bool DeviceLink::load()
{
    std::lock_guard lock(m_mutex);
    if (m_handle)
        return true;
    const std::string path = defaultPath();
    void *handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return false;
    // Without its stop flag it is not the device library.
    if (!::dlsym(handle, deviceabi::StopFlag)) {
        ::dlclose(handle);
        return false;
    }
    m_path = path;
    m_handle = handle;
    return true;
}

void *DeviceLink::symbol(const char *name)
{
    if (!load())
        return nullptr;
    std::lock_guard lock(m_mutex);
    return ::dlsym(m_handle, name);
}

bool DeviceLink::setStopFlag(uint8_t value)
{
    auto *flag = static_cast<unsigned char *>(symbol(deviceabi::StopFlag));
    if (!flag)
        return false;
    // The library's thread reads the flag while it runs.
    std::atomic_ref<unsigned char>(*flag).store(value);
    return true;
}

bool DeviceLink::isSimulator()
{
    return symbol(deviceabi::ProbeSimulator) != nullptr;
}

std::string DeviceLink::simulatorName()
{
    const auto name = as<ProbeSimulatorFunction>(symbol(deviceabi::ProbeSimulator));
    const char *text = name ? name() : nullptr;
    return text ? text : "";
}

bool DeviceLink::findDevice()
{
    const auto getDevName = as<GetDevNameFunction>(symbol(deviceabi::GetDevName));
    const bool present = getDevName && getDevName() != 0;
    m_devicePresent = present;
    return present;
}

bool DeviceLink::downloadFirmware(const std::string &firmwarePath)
{
    const auto download = as<DownloadHexFunction>(symbol(deviceabi::DownloadHex));
    return download && download(firmwarePath.c_str()) != 0;
}

bool DeviceLink::request(uint8_t code)
{
    const auto vendRequest = as<VendRequestFunction>(symbol(deviceabi::VendRequest));
    // The reply is never read, but the library fills it.
    std::array<unsigned char, deviceabi::ReplySize> reply{};
    return vendRequest && vendRequest(code, reply.data()) != 0;
}

bool DeviceLink::getPipeInfo()
{
    const auto getPipeInfo = as<GetPipeInfoFunction>(symbol(deviceabi::GetPipeInfo));
    return getPipeInfo && getPipeInfo() != 0;
}

bool DeviceLink::copyStatus(std::array<uint8_t, deviceabi::StatusSize> &status)
{
    status.fill(0);
    const auto copy = as<CopyStatusBufFunction>(symbol(deviceabi::CopyStatusBuf));
    if (!copy)
        return false;
    copy(status.data());
    return true;
}

bool DeviceLink::startStream(DeviceFrameCallback callback)
{
    const auto setCallback = as<SetRealDataFuncFunction>(symbol(deviceabi::SetRealDataFunc));
    const auto startThread = as<StartReadThreadFunction>(symbol(deviceabi::StartReadThread));
    if (!setCallback || !startThread || !setStopFlag(0))
        return false;
    setCallback(callback);
    startThread();
    return true;
}

bool DeviceLink::stopStream()
{
    const auto stopThread = as<StopReadThreadFunction>(symbol(deviceabi::StopReadThread));
    if (stopThread)
        stopThread(1);
    // Set even when the stop call is missing: the library's thread may watch it.
    return setStopFlag(1) && stopThread;
}

} // namespace dorvane
