#include "core/acquire/ProbeSession.h"

#include "core/acquire/DeviceLink.h"
#include "core/acquire/ProbeStatus.h"
#include "core/app/ProgramPaths.h"
#include "core/app/TextIds.h"
#include "core/base/MessageSink.h"

#include <atomic>
#include <cmath>

namespace dorvane {

namespace {

// The waiting dots go on where the last session left them.
std::atomic<int> waitingDots{0};

// Holds the recorder's hand-overs while it lives.
class HandOversHeld
{
public:
    explicit HandOversHeld(LiveRecorder &recorder) : m_recorder(recorder)
    {
        m_recorder.holdHandOvers();
    }
    ~HandOversHeld() { m_recorder.resumeHandOvers(); }
    HandOversHeld(const HandOversHeld &) = delete;
    HandOversHeld &operator=(const HandOversHeld &) = delete;

private:
    LiveRecorder &m_recorder;
};

} // namespace

ProbeSession::ProbeSession(MessageSink &messages)
    : ProbeSession(messages, DeviceLink::instance(), LiveRecorder::instance())
{}

ProbeSession::ProbeSession(MessageSink &messages, DeviceLink &link, LiveRecorder &recorder)
    : m_messages(messages), m_link(link), m_recorder(recorder)
{}

ProbeSession::DeviceWait ProbeSession::waitForDevice()
{
    const HandOversHeld held(m_recorder);
    if (m_link.devicePresent()) {
        if (m_link.request(probe::QueryState))
            return {DeviceState::Ready, text::ProbeReady, 0};
        return {DeviceState::CheckFailed, text::ProbeStatusFailed, 0};
    }
    if (!m_link.load())
        return {DeviceState::NoLibrary, text::DeviceLibraryMissing, 0};
    if (m_link.findDevice()) {
        if (m_link.downloadFirmware(programFolder() + FirmwareFile))
            return {DeviceState::FirmwareDownloaded, text::FirmwareDownloaded, 0};
        return {DeviceState::FirmwareFailed, text::FirmwareDownloadFailed, 0};
    }
    const int dots = waitingDots % 3 + 1;
    waitingDots = dots;
    return {DeviceState::Waiting, text::WaitingForDevice, dots};
}

bool ProbeSession::setPipeRadius(int millimetres)
{
    if (millimetres <= 0) {
        m_messages.showMessage(text::EnterValidPipeRadius);
        return false;
    }
    m_pipeRadius = millimetres;
    return true;
}

bool ProbeSession::start(const std::string &path, int detectRadiusMm, int pulseWidthUs,
                         LiveRecorder::Listener *listener, int frameLimit)
{
    // Their refusals are told but do not stop the start.
    setPulseWidth(pulseWidthUs);
    setDetectRadius(detectRadiusMm);
    if (!send(probe::Start)) {
        m_messages.showMessage(text::StartProbeFailed);
        return false;
    }
    bool piped;
    {
        const HandOversHeld held(m_recorder);
        piped = m_link.getPipeInfo();
    }
    if (!piped) {
        m_messages.showMessage(text::PipeCommandFailed);
        return false;
    }
    m_recorder.setListener(listener);
    if (!m_recorder.start(path, m_messages, frameLimit)) {
        // Told; the probe goes back to rest.
        send(probe::Stop);
        return false;
    }
    return true;
}

bool ProbeSession::stop()
{
    if (!send(probe::Stop))
        return false;
    m_recorder.stop(m_messages);
    return true;
}

ProbeSession::Closing ProbeSession::close()
{
    const bool stopped = send(probe::Stop);
    // Nobody would see the frames of a recording that goes on.
    const bool whole = !m_recorder.isStreaming() || m_recorder.stop(m_messages);
    return {stopped, whole};
}

bool ProbeSession::isStreaming() const
{
    return m_recorder.isStreaming();
}

bool ProbeSession::setDetectRadius(int millimetres)
{
    // Stamped from the next frame on even when the probe refuses.
    m_recorder.setDetectRadius(static_cast<uint16_t>(millimetres));
    m_recorder.setPipeRadius(static_cast<uint16_t>(m_pipeRadius));
    m_recorder.resetTemplate();
    return sendSetting(probe::detectRadiusRequest(millimetres), text::SetDetectRadiusFailed);
}

bool ProbeSession::setPulseWidth(int microseconds)
{
    return sendSetting(probe::pulseWidthRequest(microseconds), text::SetPulseWidthFailed);
}

bool ProbeSession::zeroDistance()
{
    if (send(probe::ZeroDistance))
        return true;
    m_messages.showMessage(text::ResetCommandFailed);
    return false;
}

ProbeSession::Readings ProbeSession::readings(const ProbeStatus &status, bool tiltAlarmOn)
{
    const float tilt = status.tiltDegrees();
    // A probe tipped backwards is as much at risk as one tipped forwards.
    return {status.pressure(), status.temperature(), tilt,
            tiltAlarmOn && std::fabs(tilt) > TiltAlarmDegrees};
}

bool ProbeSession::send(uint8_t code)
{
    const HandOversHeld held(m_recorder);
    return m_link.request(code);
}

bool ProbeSession::sendSetting(std::optional<uint8_t> code, int refusedText)
{
    if (code && send(*code))
        return true;
    m_messages.showMessage(refusedText);
    return false;
}

} // namespace dorvane
