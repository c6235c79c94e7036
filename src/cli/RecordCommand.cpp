#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/ConsoleSinks.h"
#include "cli/RecordingEvents.h"
#include "core/acquire/DeviceLink.h"
#include "core/acquire/LiveRecorder.h"
#include "core/acquire/ProbeRequests.h"
#include "core/app/ProgramPaths.h"
#include "core/app/TextIds.h"
#include "core/base/ProgressSink.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace dorvane::cli {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto PollInterval = std::chrono::milliseconds(100);

struct RecordOptions
{
    std::string output;
    int frames = 0;
    int detectRadius = 187; // the window's first choices
    int pulseWidth = 8;
    int pipeRadius = 150;
    std::chrono::seconds wait{10};
};

RecordOptions recordOptions(const Arguments &arguments)
{
    RecordOptions o;
    o.output = arguments.required("-o");
    if (!arguments.value("--frames"))
        throw UsageError{"option --frames is required"};
    o.frames = static_cast<int>(arguments.integer("--frames", 0, 1, 1000000));
    o.detectRadius = static_cast<int>(arguments.integer("--detect", o.detectRadius, 0, 65535));
    if (!probe::detectRadiusRequest(o.detectRadius))
        throw UsageError{"option --detect takes one of 125, 187, 250, 375, 500, 750, 1000, "
                         "1500, 2000, 3000, 4500, 6000"};
    o.pulseWidth = static_cast<int>(arguments.integer("--pulse", o.pulseWidth, 0, 65535));
    if (!probe::pulseWidthRequest(o.pulseWidth))
        throw UsageError{"option --pulse takes one of 4, 8, 12, 16, 20"};
    o.pipeRadius = static_cast<int>(arguments.integer("--pipe", o.pipeRadius, 0, 65535));
    o.wait = std::chrono::seconds(arguments.integer("--wait-seconds", 10, 1, 3600));
    if (arguments.flag("--simulate") && arguments.value("--device-library"))
        throw UsageError{"options --simulate and --device-library exclude each other"};
    return o;
}

// Names the library and loads it; the simulator only when asked for.
bool bindLibrary(const Arguments &arguments, DeviceLink &link, MessageSink &messages)
{
    if (arguments.flag("--simulate"))
        link.useLibrary(programFolder() + "libprobe-sim.so");
    else if (const auto path = arguments.value("--device-library"))
        link.useLibrary(*path);
    const bool loaded = link.load();
    std::fprintf(stderr, "device library: %s%s\n", link.libraryPath().c_str(),
                 loaded && link.isSimulator() ? " (probe simulator)" : "");
    if (!loaded)
        messages.showMessage(text::DeviceLibraryMissing);
    return loaded;
}

// Asks until the answer is yes or the time is up.
template<typename Ask>
bool askUntil(Clock::time_point deadline, Ask ask)
{
    for (;;) {
        if (ask())
            return true;
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(PollInterval);
    }
}

// The steps of the acquisition window before it records: device, firmware,
// probe check, settings, start of the probe, pipe.
bool prepareProbe(DeviceLink &link, const RecordOptions &o, MessageSink &messages)
{
    const auto deadline = Clock::now() + o.wait;
    if (!link.findDevice()) {
        messages.showMessage(text::WaitingForDevice);
        if (!askUntil(deadline, [&] { return link.findDevice(); })) {
            std::fprintf(stderr, "tessiq-cli record: no device within %lld s\n",
                         static_cast<long long>(o.wait.count()));
            return false;
        }
    }
    if (!link.downloadFirmware())
        messages.showMessage(text::FirmwareDownloadFailed);
    if (!askUntil(deadline, [&] { return link.request(probe::QueryState); })) {
        messages.showMessage(text::ProbeStatusFailed);
        return false;
    }
    // As in the window, refused settings are told but do not stop the start.
    if (!link.request(*probe::pulseWidthRequest(o.pulseWidth)))
        messages.showMessage(text::SetPulseWidthFailed);
    LiveRecorder &recorder = LiveRecorder::instance();
    recorder.setDetectRadius(static_cast<uint16_t>(o.detectRadius));
    recorder.setPipeRadius(static_cast<uint16_t>(o.pipeRadius));
    recorder.resetTemplate();
    if (!link.request(*probe::detectRadiusRequest(o.detectRadius)))
        messages.showMessage(text::SetDetectRadiusFailed);
    if (!link.request(probe::Start)) {
        messages.showMessage(text::StartProbeFailed);
        return false;
    }
    if (!link.getPipeInfo()) {
        messages.showMessage(text::PipeCommandFailed);
        return false;
    }
    return true;
}

// Hands over frames until the last one is written; that one is left
// waiting, so that stopping keeps exactly the frames asked for.
bool recordFrames(const RecordOptions &o, RecordingEvents &events, MessageSink &messages)
{
    LiveRecorder &recorder = LiveRecorder::instance();
    StderrProgressSink progress;
    ProgressScope scope(&progress, o.frames);
    for (;;) {
        switch (events.next(o.wait)) {
        case RecordingEvents::Event::Failed:
            messages.showMessage(events.failureText());
            return false;
        case RecordingEvents::Event::TimedOut:
            std::fprintf(stderr, "tessiq-cli record: no frame from the probe within %lld s\n",
                         static_cast<long long>(o.wait.count()));
            return false;
        case RecordingEvents::Event::Frame:
            scope.step(recorder.frameCount(), o.frames);
            if (recorder.frameCount() >= o.frames) {
                scope.complete();
                return true;
            }
            recorder.finishHandOver([](const LiveRecorder::LiveFrame &) {});
            break;
        }
    }
}

} // namespace

int runRecord(const std::vector<std::string> &args)
{
    const Arguments arguments(
        args,
        {"-o", "--frames", "--detect", "--pipe", "--pulse", "--device-library", "--wait-seconds"},
        {"--simulate"});
    arguments.expectPositional(0);
    const RecordOptions options = recordOptions(arguments);

    StderrMessageSink messages;
    if (options.pipeRadius == 0) {
        messages.showMessage(text::EnterValidPipeRadius);
        return 1;
    }
    DeviceLink &link = DeviceLink::instance();
    if (!bindLibrary(arguments, link, messages) || !prepareProbe(link, options, messages))
        return 1;

    LiveRecorder &recorder = LiveRecorder::instance();
    RecordingEvents events;
    recorder.setListener(&events);
    if (!recorder.start(options.output, messages)) {
        recorder.setListener(nullptr);
        return 1;
    }
    bool ok = recordFrames(options, events, messages);
    if (!link.request(probe::Stop))
        messages.showMessage(text::SendCommandFailed);
    if (!recorder.stop()) {
        messages.showMessage(text::SaveFileFailed);
        ok = false;
    }
    recorder.setListener(nullptr);
    return ok ? 0 : 1;
}

} // namespace dorvane::cli
