// A live recording through the acquire window with the probe simulator:
// by default 100 frames per second for 60 s. It reports
// - every frame number in the file once, in order (none dropped or doubled);
// - the window thread's latency: how late a 10 ms timer fires, as the
//   median, 99th percentile and worst case;
// - the process CPU time per recorded frame, against the 10 ms a frame may
//   take at 100 frames per second;
// - the resident memory at the start of the recording, its peak and its end.
//
//   build/bin/live-recording-bench [seconds] [frames-per-second]

#include "core/acquire/DeviceLink.h"
#include "core/acquire/LiveRecorder.h"
#include "core/acquire/SimulatedFrameNumber.h"
#include "core/data/AnimationFile.h"
#include "ui/acquire/AcquireWindow.h"
#include "ui/widgets/UserPrompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

using namespace dorvane;

namespace {

class SilentPrompts final : public UserPrompts
{
public:
    using UserPrompts::ask;
    explicit SilentPrompts(std::string path) : m_path(std::move(path)) {}
    void deliver(int textId, std::string_view detail) override
    {
        std::fprintf(stderr, "message %d: %.*s\n", textId, static_cast<int>(detail.size()),
                     detail.data());
    }
    Answer ask(int, Buttons, Answer) override { return Answer::Cancel; }
    std::optional<QString> openFileName(const FileDialog &) override { return std::nullopt; }
    QStringList openFileNames(const FileDialog &) override { return {}; }
    std::optional<QString> folderName(const FileDialog &) override { return std::nullopt; }
    std::optional<QString> saveFileName(const FileDialog &) override
    {
        return QString::fromStdString(m_path);
    }

private:
    std::string m_path;
};

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long residentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<size_t>(p * static_cast<double>(values.size() - 1));
    return values[index];
}

} // namespace

int main(int argc, char **argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const char *rate = argc > 2 ? argv[2] : "100";
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    ::setenv("TESSIQ_SIM_RATE", rate, 1);
    ::setenv("TESSIQ_SIM_DEVICE_DELAY", "0", 1);
    QApplication application(argc, argv);
    DeviceLink::instance().useLibrary(PROBE_SIM_PATH);

    const std::string path =
        (std::filesystem::temp_directory_path() / "dorvane-live-recording.Imv").string();
    SilentPrompts prompts(path);
    AcquireWindow dialog(prompts, QString());
    dialog.show();
    for (int tick = 0; tick < 10 && dialog.isWaitingForDevice(); ++tick)
        dialog.checkDevice();
    if (dialog.isWaitingForDevice() || !dialog.startRecording()) {
        std::fprintf(stderr, "the simulated probe did not start\n");
        return 1;
    }

    // The window thread's latency: how late each 10 ms tick comes.
    std::vector<double> lateness;
    QElapsedTimer clock;
    clock.start();
    qint64 expected = 10;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        lateness.push_back(static_cast<double>(std::max<qint64>(0, now - expected)));
        expected = now + 10;
    });
    ticker.start(10);

    const long startKiB = residentKiB();
    long peakKiB = startKiB;
    QTimer memory;
    QObject::connect(&memory, &QTimer::timeout,
                     [&] { peakKiB = std::max(peakKiB, residentKiB()); });
    memory.start(250);

    const double cpuStart = cpuSeconds();
    QTimer::singleShot(seconds * 1000, &application, &QApplication::quit);
    QApplication::exec();
    ticker.stop();
    dialog.stopRecording();
    const double cpu = cpuSeconds() - cpuStart;
    const long endKiB = residentKiB();

    AnimationFile file;
    if (!file.open(path, PosixFile::Mode::Read)) {
        std::fprintf(stderr, "no recording\n");
        return 1;
    }
    const int frames = frameCountForSize(file.file().size().value_or(0)).value_or(0);
    std::vector<uint8_t> samples(SampleCount);
    int outOfOrder = 0;
    for (int i = 0; i < frames; ++i) {
        if (!file.readFrame(i, nullptr, samples.data(), samples.size()) ||
            simulatedFrameNumber(samples.data()) != static_cast<uint32_t>(i))
            ++outOfOrder;
    }
    std::filesystem::remove(path);

    std::printf("recorded %d frames in %d s at %s frames/s; frames not numbered in order: %d\n",
                frames, seconds, rate, outOfOrder);
    std::printf("window latency: median %.1f ms, 99th percentile %.1f ms, worst %.1f ms (%zu "
                "ticks)\n",
                percentile(lateness, 0.5), percentile(lateness, 0.99),
                lateness.empty() ? 0.0 : *std::max_element(lateness.begin(), lateness.end()),
                lateness.size());
    std::printf("CPU per frame: %.3f ms (%.1f %% of the 10 ms a frame may take)\n",
                frames ? 1000 * cpu / frames : 0.0,
                frames ? 100 * (1000 * cpu / frames) / 10 : 0.0);
    std::printf("resident memory: %ld KiB at the start, %ld KiB at the peak, %ld KiB at the end\n",
                startKiB, peakKiB, endKiB);
    return outOfOrder == 0 ? 0 : 1;
}
