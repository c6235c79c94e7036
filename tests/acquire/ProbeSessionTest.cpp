#include "core/acquire/ProbeSession.h"

#include "RecordingSession.h"
#include "core/app/TextIds.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>

using namespace dorvane;
using namespace dorvane::test;
using namespace std::chrono_literals;

namespace {

// A status record with the marker, the tilt count given in three hexadecimal
// digits, pressure 0x3F5 and temperature 0x0B4.
ProbeStatus statusWithTilt(const char *tiltDigits)
{
    ProbeStatus status;
    const char text[] = "\x55<T000R0003F50B4";
    std::memcpy(status.bytes.data(), text, sizeof text - 1);
    std::memcpy(&status.bytes[3], tiltDigits, 3);
    return status;
}

// Puts the working folder back when it goes.
class WorkingFolder
{
public:
    explicit WorkingFolder(const std::filesystem::path &folder)
        : m_old(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~WorkingFolder() { std::filesystem::current_path(m_old); }
    WorkingFolder(const WorkingFolder &) = delete;
    WorkingFolder &operator=(const WorkingFolder &) = delete;

private:
    std::filesystem::path m_old;
};

} // namespace

// Started from the menu the program works in the user's home folder: the
// firmware is still found, by its path in the program folder.
TEST_F(RecordingSession, TheFirmwareIsFoundFromAnyWorkingFolder)
{
    environment.set("TESSIQ_SIM_FIRMWARE_AS_GIVEN", "1");
    const WorkingFolder elsewhere(dir.path());
    // The library takes a relative name from the working folder.
    EXPECT_FALSE(link.downloadFirmware(ProbeSession::FirmwareFile));

    link.resetDevicePresent();
    const ProbeSession::DeviceWait found = session.waitForDevice();
    EXPECT_EQ(found.state, ProbeSession::DeviceState::FirmwareDownloaded);
    EXPECT_EQ(found.textId, text::FirmwareDownloaded);
    const ProbeSession::DeviceWait checked = session.waitForDevice();
    EXPECT_EQ(checked.state, ProbeSession::DeviceState::Ready);
    EXPECT_EQ(checked.textId, text::ProbeReady);
    EXPECT_TRUE(messages.messages.empty());
}

// The library runs every call under one lock, the frame callback too. While
// the window has not yet taken the frame handed over, the device thread sits
// in the callback holding that lock: each request must release the hand-over
// first, or it would wait for ever.
TEST_F(RecordingSession, RequestsWhileRecordingNeverWaitForAFrameNotYetShown)
{
    environment.set("TESSIQ_SIM_SERIAL", "1");
    prepareProbe();
    window.answer(false);
    const std::string path = dir.file("serial.Imv");
    ASSERT_TRUE(session.start(path, 187, 8, &window));

    int handOvers = 0;
    const auto answersInTime = [&](const std::function<bool()> &request) {
        // The device thread now waits in the hand-over, inside the lock.
        EXPECT_TRUE(window.waitForPosted(++handOvers));
        auto answered = std::async(std::launch::async, request);
        const bool inTime = answered.wait_for(5s) == std::future_status::ready;
        if (!inTime)
            window.answer(true); // lets the test end
        return inTime && answered.get();
    };
    EXPECT_TRUE(answersInTime([&] { return session.zeroDistance(); }));
    EXPECT_TRUE(answersInTime([&] { return session.setDetectRadius(250); }));
    EXPECT_TRUE(answersInTime([&] { return session.setPulseWidth(12); }));
    EXPECT_TRUE(answersInTime([&] { return session.stop(); }));
    window.answer(true);
    EXPECT_FALSE(recorder.isStreaming());
    EXPECT_TRUE(messages.messages.empty());
    // Frames recorded while a request ran are in the file all the same.
    EXPECT_EQ(static_cast<int>(readRecording(path).size()), recorder.frameCount());
    EXPECT_GE(recorder.frameCount(), 4);
}

// Beyond 45 degrees either way: a probe tipped backwards is as much at risk
// as one tipped forwards.
TEST(ProbeReadings, TheTiltIsSignedAndItsAlarmSoundsEitherWay)
{
    const ProbeSession::Readings forwards = ProbeSession::readings(statusWithTilt("6A8"), true);
    EXPECT_FLOAT_EQ(forwards.tiltDegrees, 45.1f);
    EXPECT_TRUE(forwards.tiltAlarm);
    EXPECT_EQ(forwards.pressure, 1013);
    EXPECT_EQ(forwards.temperature, 180);

    const ProbeSession::Readings backwards = ProbeSession::readings(statusWithTilt("957"), true);
    EXPECT_FLOAT_EQ(backwards.tiltDegrees, -45.1f);
    EXPECT_TRUE(backwards.tiltAlarm);

    EXPECT_FALSE(ProbeSession::readings(statusWithTilt("6A0"), true).tiltAlarm);  // 44.9
    EXPECT_FALSE(ProbeSession::readings(statusWithTilt("95F"), true).tiltAlarm);  // -44.9
    EXPECT_FALSE(ProbeSession::readings(statusWithTilt("957"), false).tiltAlarm); // alarm off
}
