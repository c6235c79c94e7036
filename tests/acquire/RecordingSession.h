#pragma once

#include "SimulatorEnvironment.h"
#include "TestWindow.h"
#include "core/acquire/DeviceLink.h"
#include "core/acquire/LiveRecorder.h"
#include "core/acquire/ProbeSession.h"
#include "core/acquire/SimulatedFrameNumber.h"
#include "core/data/FrameRecord.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <span>
#include <string>
#include <vector>

namespace dorvane::test {

// One frame as read back from a recorded file.
struct RecordedFrame
{
    uint32_t number; // the simulator's
    FrameHeader header;
    std::vector<uint8_t> headerBytes;
};

// Reads every whole frame of a recorded file; the file must hold nothing
// else.
inline std::vector<RecordedFrame> readRecording(const std::string &path)
{
    const std::vector<uint8_t> bytes = readFileBytes(path);
    std::vector<RecordedFrame> frames;
    EXPECT_GE(bytes.size(), 1024u);
    if (bytes.size() < 1024)
        return frames;
    EXPECT_EQ((bytes.size() - 1024) % 100512, 0u) << "a partial frame at the end";
    for (size_t at = 1024; at + 100512 <= bytes.size(); at += 100512) {
        const std::span<const uint8_t, 512> header(&bytes[at], 512);
        frames.push_back({simulatedFrameNumber(&bytes[at + 512]), FrameHeader::decode(header),
                          std::vector<uint8_t>(header.begin(), header.end())});
    }
    return frames;
}

// A recording session against the probe simulator, through the program's
// device link and recorder, with a window that sees the frames.
class RecordingSession : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fastSimulator(environment);
        link.useLibrary(PROBE_SIM_PATH);
        ASSERT_TRUE(link.load());
        ASSERT_TRUE(link.isSimulator());
        recorder.setListener(&window);
    }

    void TearDown() override
    {
        RecordingMessageSink unheard;
        recorder.stop(unheard);
        recorder.setListener(nullptr);
    }

    // What the window does before recording: waits for the device with its
    // firmware until the probe answers, sends the pulse width (8 us) and the
    // detection radius (187 mm) with the pipe radius 150 mm, zeroes the
    // counter, starts the probe and asks for the pipe.
    void prepareProbe()
    {
        ProbeSession::DeviceState state = ProbeSession::DeviceState::Waiting;
        for (int tick = 0; tick < 4 && state != ProbeSession::DeviceState::Ready; ++tick)
            state = session.waitForDevice().state;
        ASSERT_EQ(state, ProbeSession::DeviceState::Ready);
        ASSERT_TRUE(link.request(0x25));
        recorder.setDetectRadius(187);
        recorder.setPipeRadius(150);
        recorder.resetTemplate();
        ASSERT_TRUE(link.request(0x59));
        ASSERT_TRUE(link.request(0x3A));
        ASSERT_TRUE(link.request(0x3D));
        ASSERT_TRUE(link.getPipeInfo());
    }

    // Stop as the window does: the probe, then the recording.
    void stopRecording()
    {
        EXPECT_TRUE(link.request(0x3E));
        EXPECT_TRUE(recorder.stop(messages));
        EXPECT_FALSE(recorder.isRecording());
    }

    ScopedEnvironment environment;
    DeviceLink &link = DeviceLink::instance();
    LiveRecorder &recorder = LiveRecorder::instance();
    TestWindow window{recorder};
    RecordingMessageSink messages;
    ProbeSession session{messages};
    TempDir dir;
};

} // namespace dorvane::test
