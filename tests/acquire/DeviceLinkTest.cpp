#include "core/acquire/DeviceLink.h"

#include "SimulatorEnvironment.h"
#include "core/acquire/ProbeStatus.h"
#include "core/acquire/SimulatedFrameNumber.h"
#include "core/app/ProgramPaths.h"
#include "core/data/FrameRecord.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

using namespace dorvane;
using namespace dorvane::test;
using namespace std::chrono_literals;

namespace {

// What the device thread handed to the frame callback.
struct Delivered
{
    uint32_t number;
    std::thread::id thread;
    ProbeStatus status;
    int wallSample; // where beam 100 (across the pipe, level) echoes most
};

// The frame callback is a plain function, so what it sees goes here.
struct Collector
{
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<Delivered> frames;
    DeviceLink *link = nullptr;

    static Collector &instance()
    {
        static Collector collector;
        return collector;
    }

    static int onFrame(unsigned char *samples)
    {
        Collector &c = instance();
        Delivered d{simulatedFrameNumber(samples), std::this_thread::get_id(), {}, 0};
        c.link->copyStatus(d.status.bytes);
        const uint8_t *beam = samples + 100 * SamplesPerBeam;
        // Past the transducer's own ringing.
        d.wallSample = static_cast<int>(std::max_element(beam + 30, beam + SamplesPerBeam) - beam);
        std::lock_guard lock(c.mutex);
        c.frames.push_back(d);
        c.arrived.notify_all();
        return 0;
    }

    // Waits until count frames arrived in all.
    bool waitFor(size_t count)
    {
        std::unique_lock lock(mutex);
        return arrived.wait_for(lock, 10s, [&] { return frames.size() >= count; });
    }

    std::vector<Delivered> take()
    {
        std::lock_guard lock(mutex);
        return std::exchange(frames, {});
    }
};

class SimulatedDevice : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fastSimulator(environment);
        link.useLibrary(PROBE_SIM_PATH);
        ASSERT_TRUE(link.load());
        Collector::instance().link = &link;
        Collector::instance().take();
    }

    // Waits for the device and downloads the firmware, as the program does.
    void connect()
    {
        ASSERT_TRUE(link.findDevice());
        ASSERT_TRUE(link.downloadFirmware("tcxmaster.hex"));
    }

    ScopedEnvironment environment;
    DeviceLink link;
};

} // namespace

TEST(DeviceLinkLoading, TheSimulatorLoadsAndSaysWhatItIs)
{
    DeviceLink link;
    link.useLibrary(PROBE_SIM_PATH);
    EXPECT_EQ(link.libraryPath(), PROBE_SIM_PATH);
    EXPECT_TRUE(link.load());
    EXPECT_TRUE(link.isSimulator());
    EXPECT_EQ(link.simulatorName(), "probe simulator 1.0");
    // Once loaded the library stays the one in use.
    link.useLibrary("/elsewhere/libUsbDll.so");
    EXPECT_EQ(link.libraryPath(), PROBE_SIM_PATH);
}

TEST(DeviceLinkLoading, AMissingLibraryFailsEveryCallAndIsTriedAgain)
{
    TempDir dir;
    const std::string path = dir.file("libUsbDll.so");
    DeviceLink link;
    link.useLibrary(path);
    EXPECT_FALSE(link.load());
    EXPECT_FALSE(link.findDevice());
    EXPECT_FALSE(link.devicePresent());
    EXPECT_FALSE(link.downloadFirmware("tcxmaster.hex"));
    EXPECT_FALSE(link.request(0x3F));
    EXPECT_FALSE(link.getPipeInfo());
    EXPECT_FALSE(link.startStream(&Collector::onFrame));
    EXPECT_FALSE(link.stopStream());
    EXPECT_FALSE(link.isSimulator());
    EXPECT_EQ(link.libraryPath(), path);

    // The library is installed: the next operation loads it.
    std::filesystem::create_symlink(PROBE_SIM_PATH, path);
    EXPECT_TRUE(link.isSimulator());
    EXPECT_EQ(link.libraryPath(), path);
}

TEST(DeviceLinkLoading, ALibraryWithoutTheStopFlagIsNoDeviceLibrary)
{
    DeviceLink link;
    link.useLibrary(DEVICE_WITHOUT_STOP_FLAG_PATH);
    EXPECT_FALSE(link.load());
    // Its GetDevName is never called.
    EXPECT_FALSE(link.findDevice());
}

TEST(DeviceLinkLoading, AMissingExportIsAFailedCall)
{
    DeviceLink link;
    link.useLibrary(DEVICE_WITHOUT_EXPORTS_PATH);
    ASSERT_TRUE(link.load());
    EXPECT_TRUE(link.findDevice()); // the one export it has
    EXPECT_TRUE(link.devicePresent());
    EXPECT_FALSE(link.isSimulator());
    EXPECT_EQ(link.simulatorName(), "");
    EXPECT_FALSE(link.downloadFirmware("tcxmaster.hex"));
    EXPECT_FALSE(link.request(0x3F));
    EXPECT_FALSE(link.getPipeInfo());
    std::array<uint8_t, deviceabi::StatusSize> status;
    status.fill(0xAA);
    EXPECT_FALSE(link.copyStatus(status));
    EXPECT_EQ(status, (std::array<uint8_t, deviceabi::StatusSize>{}));
    EXPECT_FALSE(link.startStream(&Collector::onFrame));
    EXPECT_FALSE(link.stopStream());
}

TEST(DeviceLinkLoading, TheDefaultLibraryIsBesideTheProgramUnlessNamed)
{
    ScopedEnvironment environment;
    environment.unset("TESSIQ_DEVICE_LIBRARY");
    EXPECT_EQ(DeviceLink().libraryPath(), programFolder() + "libUsbDll.so");
    environment.set("TESSIQ_DEVICE_LIBRARY", "/opt/probe/libUsbDll.so");
    EXPECT_EQ(DeviceLink().libraryPath(), "/opt/probe/libUsbDll.so");
    DeviceLink chosen;
    chosen.useLibrary("/tmp/other.so");
    EXPECT_EQ(chosen.libraryPath(), "/tmp/other.so");
}

TEST_F(SimulatedDevice, AnswersRequestsOnceItsFirmwareIsThere)
{
    ASSERT_TRUE(link.findDevice());
    EXPECT_TRUE(link.devicePresent());
    EXPECT_FALSE(link.downloadFirmware("no-such-firmware.hex"));
    // Found beside the library when it is not in the current folder.
    EXPECT_TRUE(link.downloadFirmware("tcxmaster.hex"));
    EXPECT_TRUE(link.request(0x3F));
    EXPECT_TRUE(link.request(0x24));
    EXPECT_TRUE(link.request(0x28));
    EXPECT_TRUE(link.request(0x58));
    EXPECT_TRUE(link.request(0x63));
    EXPECT_TRUE(link.request(0x64));
    EXPECT_TRUE(link.request(0x3A));
    EXPECT_TRUE(link.request(0x3D));
    EXPECT_TRUE(link.request(0x3E));
    EXPECT_TRUE(link.getPipeInfo());
    // Codes the probe does not know.
    EXPECT_FALSE(link.request(0x62));
    EXPECT_FALSE(link.request(0x29));
    EXPECT_FALSE(link.request(0x00));
}

TEST_F(SimulatedDevice, RefusesTheRequestsItIsToldTo)
{
    connect();
    environment.set("TESSIQ_SIM_REFUSE", "3D,5c");
    EXPECT_FALSE(link.request(0x3D));
    EXPECT_FALSE(link.request(0x5C));
    EXPECT_TRUE(link.request(0x5B));
    EXPECT_TRUE(link.request(0x3F));
    environment.unset("TESSIQ_SIM_REFUSE");
    EXPECT_TRUE(link.request(0x3D));
    EXPECT_TRUE(link.request(0x3E));
}

TEST_F(SimulatedDevice, DeliversNumberedFramesOnItsOwnThreadWithTheirStatus)
{
    connect();
    ASSERT_TRUE(link.request(0x3A));
    ASSERT_TRUE(link.request(0x3D));
    ASSERT_TRUE(link.startStream(&Collector::onFrame));
    ASSERT_TRUE(Collector::instance().waitFor(6));
    ASSERT_TRUE(link.stopStream());
    ASSERT_TRUE(link.request(0x3E));
    const auto frames = Collector::instance().take();

    ASSERT_GE(frames.size(), 6u);
    for (size_t i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(frames[i].number, i);
        EXPECT_NE(frames[i].thread, std::this_thread::get_id());
        const ProbeStatus &status = frames[i].status;
        EXPECT_TRUE(status.hasMarker());
        // 20 counts, 0.1 m, a frame from the zeroed counter.
        EXPECT_EQ(status.distanceCount(), static_cast<int>(20 * i));
        EXPECT_EQ(status.bytes[28], '@');
        EXPECT_EQ(status.pressure(), 1013);
        // A few degrees at most, either way.
        EXPECT_LE(std::abs(status.tiltDegrees()), 3.1f);
        EXPECT_LE(std::abs(status.rollDegrees()), 3.6f);
    }
    // Stopped means stopped: no frame comes after stopStream returned.
    std::this_thread::sleep_for(30ms);
    EXPECT_TRUE(Collector::instance().take().empty());
}

TEST_F(SimulatedDevice, NoFramesWhileTheProbeIsNotStarted)
{
    connect();
    ASSERT_TRUE(link.request(0x3E));
    ASSERT_TRUE(link.startStream(&Collector::onFrame));
    std::this_thread::sleep_for(40ms); // ten frame times
    ASSERT_TRUE(link.stopStream());
    EXPECT_TRUE(Collector::instance().take().empty());
}

TEST_F(SimulatedDevice, NumbersStartAgainWithEachStreamAndTheCounterGoesOn)
{
    connect();
    ASSERT_TRUE(link.request(0x3A));
    ASSERT_TRUE(link.request(0x3D));
    ASSERT_TRUE(link.startStream(&Collector::onFrame));
    ASSERT_TRUE(Collector::instance().waitFor(2));
    ASSERT_TRUE(link.stopStream());
    const size_t first = Collector::instance().take().size();

    ASSERT_TRUE(link.startStream(&Collector::onFrame));
    ASSERT_TRUE(Collector::instance().waitFor(2));
    ASSERT_TRUE(link.stopStream());
    const auto second = Collector::instance().take();
    EXPECT_EQ(second[0].number, 0u);
    EXPECT_EQ(second[1].number, 1u);
    EXPECT_EQ(second[0].status.distanceCount(), static_cast<int>(20 * first));
}

TEST_F(SimulatedDevice, TheDetectionRadiusSetsThePictureScale)
{
    // A pipe of 150 mm radius: at 187 mm the wall lies near sample
    // 150 / 187 x 250 = 200, at 375 mm near sample 100.
    connect();
    ASSERT_TRUE(link.request(0x59));
    ASSERT_TRUE(link.request(0x3D));
    ASSERT_TRUE(link.startStream(&Collector::onFrame));
    ASSERT_TRUE(Collector::instance().waitFor(1));
    ASSERT_TRUE(link.stopStream());
    const auto near = Collector::instance().take();

    ASSERT_TRUE(link.request(0x5B));
    ASSERT_TRUE(link.startStream(&Collector::onFrame));
    ASSERT_TRUE(Collector::instance().waitFor(1));
    ASSERT_TRUE(link.stopStream());
    ASSERT_TRUE(link.request(0x3E));
    const auto far = Collector::instance().take();

    EXPECT_NEAR(near[0].wallSample, 200, 10);
    EXPECT_NEAR(far[0].wallSample, 100, 6);
}

TEST_F(SimulatedDevice, StatusRecordsWithoutTheMarkerComeAsToldEvenly)
{
    environment.set("TESSIQ_SIM_UNMARKED", "25");
    connect();
    ASSERT_TRUE(link.request(0x3D));
    ASSERT_TRUE(link.startStream(&Collector::onFrame));
    ASSERT_TRUE(Collector::instance().waitFor(8));
    ASSERT_TRUE(link.stopStream());
    ASSERT_TRUE(link.request(0x3E));
    const auto frames = Collector::instance().take();
    // Every fourth record: frames 3 and 7.
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(frames[i].status.hasMarker(), i != 3 && i != 7) << i;
}
