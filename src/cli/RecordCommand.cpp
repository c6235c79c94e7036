#include "cli/Commands.h"
#include "cli/CommonOptions.h"
#include "cli/ConsoleSinks.h"
#include "cli/RecordingEvents.h"
#include "core/acquire/DeviceLink.h"
#include "core/acquire/LiveRecorder.h"
#include "core/acquire/ProbeRequests.h"
#include "core/app/ProgramPaths.h"
#include "core/app/TextIds.h"
#include "core/base/ProgressSink.h"

#include <CLI/App.hpp>
#include <CLI/Validators.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
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
    int waitSeconds = 10;
    std::chrono::seconds wait{10};
    std::string deviceLibrary;
    bool hasDeviceLibrary = false;
    bool simulate = false;
};

// Only the values the probe has a request for.
CLI::Validator requestValidator(std::optional<uint8_t> (*request)(int), const std::string &values)
{
    return CLI::Validator(
        [request, values](const std::string &text) {
            const long n = std::strtol(text.c_str(), nullptr, 10);
            return n >= 0 && n <= 65535 && request(static_cast<int>(n)) ? std::string()
                                                                        : "takes one of " + values;
        },
        "");
}

// Names the library and loads it; the simulator only when asked for.
bool bindLibrary(const RecordOptions &o, DeviceLink &link, MessageSink &messages)
{
    if (o.simulate)
        link.useLibrary(programFolder() + "libprobe-sim.so");
    else if (o.hasDeviceLibrary)
        link.useLibrary(o.deviceLibrary);
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

int runRecord(const RecordOptions &options)
{
    StderrMessageSink messages;
    if (options.pipeRadius == 0) {
        messages.showMessage(text::EnterValidPipeRadius);
        return 1;
    }
    DeviceLink &link = DeviceLink::instance();
    if (!bindLibrary(options, link, messages) || !prepareProbe(link, options, messages))
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

} // namespace

CommandAction addRecord(CLI::App &command)
{
    auto o = std::make_shared<RecordOptions>();
    addOutputOption(command, o->output, "OUT.Imv");
    addWholeNumber(command, "--frames", o->frames, 1, 1000000, "N",
                   "the number of live frames to record")
        ->required();
    const std::string radii = "125, 187, 250, 375, 500, 750, 1000, 1500, 2000, 3000, 4500, 6000";
    addDecimal(command, "--detect", o->detectRadius, "MM",
               "the detection radius (187), one of 125, 187, 250, 375,\n"
               "500, 750, 1000, 1500, 2000, 3000, 4500, 6000")
        ->check(requestValidator(probe::detectRadiusRequest, radii));
    addWholeNumber(command, "--pipe", o->pipeRadius, 0, 65535, "MM", "the pipe radius (150)");
    const std::string widths = "4, 8, 12, 16, 20";
    addDecimal(command, "--pulse", o->pulseWidth, "US",
               "the pulse width (8), one of 4, 8, 12, 16, 20")
        ->check(requestValidator(probe::pulseWidthRequest, widths));
    auto *library = command.add_option("--device-library", o->deviceLibrary,
                                       "the probe's device library: libUsbDll.so beside the\n"
                                       "program, $TESSIQ_DEVICE_LIBRARY or PATH");
    library->type_name("PATH");
    command.add_flag("--simulate", o->simulate, "take the probe simulator")->excludes(library);
    addWholeNumber(command, "--wait-seconds", o->waitSeconds, 1, 3600, "S",
                   "how long to wait for the device, the probe and each\nframe (10)");
    return [o, library] {
        o->hasDeviceLibrary = library->count() > 0;
        o->wait = std::chrono::seconds(o->waitSeconds);
        return runRecord(*o);
    };
}

} // namespace dorvane::cli
