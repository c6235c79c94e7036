#pragma once

#include "core/acquire/LiveRecorder.h"
#include "core/acquire/ProbeRequests.h"

#include <optional>
#include <string>

namespace dorvane {

class DeviceLink;
class MessageSink;
struct ProbeStatus;

// One session with the probe, as the acquire window and the batch recording
// run it: the device wait with the firmware download and the probe check,
// the start of a recording with its settings, the requests while recording,
// and the stop. It owns the order of the calls to the device link and the
// recorder, and tells each refusal to the message sink. Around every call
// into the device library it holds the recorder's hand-overs, so that a
// library that serialises its calls with its frame callback never waits
// for a window that waits for it.
class ProbeSession
{
public:
    // The first choices: 187 mm, 8 us and a pipe of 150 mm radius.
    static constexpr int DefaultDetectRadiusIndex = 1;
    static constexpr int DefaultPulseWidthIndex = 1;
    static constexpr int DefaultDetectRadiusMm = probe::DetectRadiiMm[DefaultDetectRadiusIndex];
    static constexpr int DefaultPulseWidthUs = probe::PulseWidthsUs[DefaultPulseWidthIndex];
    static constexpr int DefaultPipeRadiusMm = 150;
    // The firmware file, in the program folder.
    static constexpr const char *FirmwareFile = "tcxmaster.hex";
    // Beyond this tilt either way the alarm sounds.
    static constexpr float TiltAlarmDegrees = 45.0f;

    enum class DeviceState
    {
        NoLibrary,          // the device library cannot be loaded
        Waiting,            // no device yet
        FirmwareDownloaded, // the device came and took its firmware
        FirmwareFailed,     // the device came; its firmware download failed
        CheckFailed,        // the probe did not answer its check
        Ready               // the probe answered: recording may start
    };
    // One tick of the device wait: where it got, the caption's text and the
    // number of waiting dots after it.
    struct DeviceWait
    {
        DeviceState state;
        int textId;
        int dots;
    };

    // What the last frame's status record shows the crew.
    struct Readings
    {
        int pressure;
        int temperature;
        float tiltDegrees; // signed: forwards positive
        bool tiltAlarm;    // the alarm is on and the tilt beyond 45 degrees either way
    };

    explicit ProbeSession(MessageSink &messages);
    ProbeSession(MessageSink &messages, DeviceLink &link, LiveRecorder &recorder);

    // Once a device is known (in this process) the probe is checked; before
    // that the library is loaded and asked for a device, which takes the
    // firmware once when it comes. The download is not tried again.
    DeviceWait waitForDevice();

    // The pipe radius written into the frames; 0 is told and refused.
    bool setPipeRadius(int millimetres);
    int pipeRadius() const { return m_pipeRadius; }
    // Pulse width, detection radius (their refusals are told but do not stop
    // the start), the probe's start, the pipe request, then the recording
    // into path with listener seeing its frames (at most frameLimit of them
    // when it is not 0). A refusal is told and nothing records.
    bool start(const std::string &path, int detectRadiusMm, int pulseWidthUs,
               LiveRecorder::Listener *listener, int frameLimit = 0);
    // The stop button: the probe is asked to stop and, when it agrees, the
    // recording stops. A refusal changes nothing and is not told.
    bool stop();
    // The window closes, a write failed, or a batch recording has its
    // frames: the probe is asked to stop and the recording stops whatever it
    // answers.
    struct Closing
    {
        bool probeStopped;   // the probe agreed
        bool recordingWhole; // no recording, or one whose file holds its frames
    };
    Closing close();
    bool isStreaming() const;

    // While recording as well; their refusals are told. A detection radius
    // applies from the next frame, with the pipe radius last set.
    bool setDetectRadius(int millimetres);
    bool setPulseWidth(int microseconds);
    bool zeroDistance();

    static Readings readings(const ProbeStatus &status, bool tiltAlarmOn);

private:
    // A request with the hand-overs held.
    bool send(uint8_t code);
    bool sendSetting(std::optional<uint8_t> code, int refusedText);

    MessageSink &m_messages;
    DeviceLink &m_link;
    LiveRecorder &m_recorder;
    int m_pipeRadius = DefaultPipeRadiusMm;
};

} // namespace dorvane
