// Live recording: the device thread's work for one frame (status copy,
// stamping, one 100,512-byte append) through the program's recorder, and a
// whole session with the probe simulator as fast as it delivers, with the
// window's hand-over on another thread. The session checks the simulator's
// frame numbers in the file: none lost, none twice.
//
//   build/bin/record-bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include "core/acquire/DeviceLink.h"
#include "core/acquire/LiveRecorder.h"
#include "core/acquire/SimulatedFrameNumber.h"
#include "core/base/MessageSink.h"
#include "core/data/AnimationFile.h"

#include <benchmark/benchmark.h>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

using namespace dorvane;

namespace {

const std::string &recordingPath()
{
    static const std::string path =
        (std::filesystem::temp_directory_path() / "dorvane-record-bench.Imv").string();
    return path;
}

// The probe simulator, there at once and as quick as it can be.
DeviceLink &simulator()
{
    ::setenv("TESSIQ_SIM_DEVICE_DELAY", "0", 1);
    ::setenv("TESSIQ_SIM_RATE", "1000", 1);
    DeviceLink &link = DeviceLink::instance();
    link.useLibrary(PROBE_SIM_PATH);
    if (!link.findDevice() || !link.downloadFirmware("tcxmaster.hex") || !link.request(0x59))
        std::abort();
    return link;
}

void BM_RecordOneFrame(benchmark::State &state)
{
    DeviceLink &link = simulator();
    // The probe is not started: only the benchmark's frames are recorded.
    link.request(0x3E);
    LiveRecorder &recorder = LiveRecorder::instance();
    SilentMessageSink messages;
    std::vector<uint8_t> samples(SampleCount, 40);
    int inFile = 0;
    recorder.start(recordingPath(), messages);
    for (auto _ : state) {
        recorder.recordFrame(samples.data());
        // A fresh file now and then keeps the disk from filling.
        if (++inFile == 500) {
            state.PauseTiming();
            recorder.stop(messages);
            recorder.start(recordingPath(), messages);
            inFile = 0;
            state.ResumeTiming();
        }
    }
    recorder.stop(messages);
    std::filesystem::remove(recordingPath());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(FrameRecord::Size));
}
BENCHMARK(BM_RecordOneFrame)->Unit(benchmark::kMicrosecond);

// Finishes every hand-over on its own thread, as the window does.
class Window final : public LiveRecorder::Listener
{
public:
    explicit Window(LiveRecorder &recorder) : m_recorder(recorder), m_thread([this] { run(); }) {}
    ~Window() override
    {
        {
            std::lock_guard lock(m_mutex);
            m_quit = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    void frameRecorded() override
    {
        std::lock_guard lock(m_mutex);
        ++m_posted;
        m_wake.notify_all();
    }
    void recordingFailed() override {}

private:
    void run()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_quit || m_posted > 0; });
            if (m_quit)
                return;
            --m_posted;
            lock.unlock();
            m_recorder.finishHandOver([](const LiveRecorder::LiveFrame &) {});
            lock.lock();
        }
    }

    LiveRecorder &m_recorder;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    int m_posted = 0;
    bool m_quit = false;
    std::thread m_thread;
};

void BM_RecordingSession(benchmark::State &state)
{
    DeviceLink &link = simulator();
    LiveRecorder &recorder = LiveRecorder::instance();
    SilentMessageSink messages;
    const int frames = static_cast<int>(state.range(0));
    int64_t recorded = 0;
    for (auto _ : state) {
        Window window(recorder);
        recorder.setListener(&window);
        link.request(0x3D);
        recorder.start(recordingPath(), messages);
        while (recorder.frameCount() < frames)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        link.request(0x3E);
        recorder.stop(messages);
        recorder.setListener(nullptr);
        recorded += recorder.frameCount();

        state.PauseTiming();
        AnimationFile file;
        auto record = std::make_unique<FrameRecord>();
        const int count = recorder.frameCount();
        bool consecutive = file.open(recordingPath(), PosixFile::Mode::Read);
        for (int i = 0; consecutive && i < count; ++i)
            consecutive = file.readFrame(i, *record) &&
                          simulatedFrameNumber(record->samples.data()) == static_cast<uint32_t>(i);
        if (!consecutive)
            state.SkipWithError("a frame was lost or written twice");
        state.ResumeTiming();
    }
    std::filesystem::remove(recordingPath());
    state.counters["frames_per_s"] =
        benchmark::Counter(static_cast<double>(recorded), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RecordingSession)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
