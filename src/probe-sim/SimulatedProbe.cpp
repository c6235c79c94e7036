#include "probe-sim/SimulatedProbe.h"

#include "core/acquire/ProbeRequests.h"
#include "core/acquire/SimulatedFrameNumber.h"
#include "core/acquire/SurveySimulator.h"
#include "core/data/FrameRecord.h"
#include "probe-sim/SimulatedStatus.h"

#include <atomic>
#include <cstring>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace dorvane::probesim {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int CountsPerFrame = 20;
constexpr uint64_t PipeSeed = 7;

std::optional<int> detectRadiusOf(int code)
{
    for (const int radius : probe::DetectRadiiMm)
        if (probe::detectRadiusRequest(radius) == code)
            return radius;
    return std::nullopt;
}

bool isPulseWidthRequest(int code)
{
    for (const int width : probe::PulseWidthsUs)
        if (probe::pulseWidthRequest(width) == code)
            return true;
    return false;
}

bool readable(const std::filesystem::path &path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) && ::access(path.c_str(), R_OK) == 0;
}

} // namespace

SimulatedProbe::SimulatedProbe(unsigned char *stopFlag) : m_stopFlag(stopFlag)
{
    m_status = encodeStatus(simulatedStatus(0, 0, 0));
}

SimulatedProbe::~SimulatedProbe()
{
    stopStream();
}

std::unique_lock<std::recursive_mutex> SimulatedProbe::serialCall()
{
    if (!SimulatorOptions::fromEnvironment().serialCalls)
        return {};
    return std::unique_lock(m_serial);
}

bool SimulatedProbe::deviceAttached()
{
    const SimulatorOptions options = SimulatorOptions::fromEnvironment();
    std::lock_guard lock(m_mutex);
    const auto now = Clock::now();
    if (!m_attachTime)
        m_attachTime = now + std::chrono::milliseconds(options.deviceDelayMs);
    return now >= *m_attachTime;
}

bool SimulatedProbe::downloadFirmware(const char *firmwarePath, const char *libraryFolder)
{
    if (!firmwarePath || !*firmwarePath || !deviceAttached())
        return false;
    const bool asGiven = SimulatorOptions::fromEnvironment().firmwareAsGiven;
    const std::filesystem::path path(firmwarePath);
    const bool found = readable(path) || (!asGiven && path.is_relative() && libraryFolder &&
                                          readable(std::filesystem::path(libraryFolder) / path));
    std::lock_guard lock(m_mutex);
    m_firmwareLoaded = m_firmwareLoaded || found;
    return found;
}

bool SimulatedProbe::readyForRequests() const
{
    return m_firmwareLoaded;
}

bool SimulatedProbe::request(int code)
{
    const SimulatorOptions options = SimulatorOptions::fromEnvironment();
    std::lock_guard lock(m_mutex);
    if (!readyForRequests() || options.refusedRequests.count(code))
        return false;
    if (const auto radius = detectRadiusOf(code)) {
        m_detectRadiusMm = *radius;
        return true;
    }
    // The pulse width changes nothing in the simulated picture.
    if (isPulseWidthRequest(code))
        return true;
    switch (code) {
    case probe::QueryState:
        return true;
    case probe::Start:
        m_started = true;
        return true;
    case probe::Stop:
        m_started = false;
        return true;
    case probe::ZeroDistance:
        m_distanceCount = 0;
        return true;
    default:
        return false;
    }
}

bool SimulatedProbe::pipeInfo()
{
    std::lock_guard lock(m_mutex);
    return readyForRequests();
}

void SimulatedProbe::setCallback(DeviceFrameCallback callback)
{
    std::lock_guard lock(m_mutex);
    m_callback = callback;
}

void SimulatedProbe::copyStatus(unsigned char *status64)
{
    if (!status64)
        return;
    std::lock_guard lock(m_mutex);
    std::memcpy(status64, m_status.bytes.data(), m_status.bytes.size());
}

void SimulatedProbe::startStream()
{
    const SimulatorOptions options = SimulatorOptions::fromEnvironment();
    std::unique_lock lock(m_mutex);
    if (m_thread.joinable() && !m_stopRequested)
        return;
    // A thread that was asked to end from inside a callback is joined here.
    if (m_thread.joinable()) {
        std::thread finished = std::move(m_thread);
        lock.unlock();
        finished.join();
        lock.lock();
    }
    m_stopRequested = false;
    m_thread = std::thread(&SimulatedProbe::run, this, options);
}

void SimulatedProbe::stopStream()
{
    std::unique_lock lock(m_mutex);
    m_stopRequested = true;
    m_wake.notify_all();
    if (!m_thread.joinable() || m_thread.get_id() == std::this_thread::get_id())
        return;
    std::thread running = std::move(m_thread);
    lock.unlock();
    running.join();
}

void SimulatedProbe::run(SimulatorOptions options)
{
    const auto interval = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(1.0 / options.framesPerSecond));
    auto frame = std::make_unique<FrameRecord>();
    std::unique_ptr<SurveySimulator> pipe;
    int pipeDetectRadius = 0;
    uint32_t number = 0;
    auto next = Clock::now() + interval;

    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_wake.wait_until(lock, next, [this] { return m_stopRequested; }))
            break;
        const auto now = Clock::now();
        // Behind by more than a frame (a slow receiver): go on from now.
        next = std::max(next, now - interval);
        const bool stopFlagSet = std::atomic_ref<unsigned char>(*m_stopFlag).load() != 0;
        if (!m_started || stopFlagSet) {
            next += interval;
            continue;
        }
        // The cable moves on at once: a zeroing meanwhile counts from the
        // next frame on.
        const int distance = m_distanceCount;
        m_distanceCount += CountsPerFrame;
        const int position = distance / CountsPerFrame;
        const int detectRadius = m_detectRadiusMm;
        lock.unlock();

        // The detection radius sets the picture's scale.
        if (!pipe || detectRadius != pipeDetectRadius) {
            SurveySimulator::Options pipeOptions;
            pipeOptions.seed = PipeSeed;
            pipeOptions.detectRadius = detectRadius;
            pipeOptions.pipeRadius = options.pipeRadiusMm;
            pipe = std::make_unique<SurveySimulator>(pipeOptions);
            pipeDetectRadius = detectRadius;
        }
        pipe->makeFrame(position < 0 ? -position : position, *frame);
        stampSimulatedFrameNumber(frame->samples.data(), number);

        lock.lock();
        StatusValues values =
            simulatedStatus(position, options.tiltAmplitudeDeg, frame->header.roll);
        values.distanceCount = distance;
        values.frameNumber = number;
        values.marker = !inShare(number, options.unmarkedPercent);
        m_status = encodeStatus(values);
        const DeviceFrameCallback callback = m_callback;
        lock.unlock();

        if (callback) {
            const auto call = serialCall();
            callback(frame->samples.data());
        }

        lock.lock();
        next += inShare(number, options.fastPercent) ? interval / 2 : interval;
        ++number;
    }
}

} // namespace dorvane::probesim
