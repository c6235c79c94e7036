#include "cli/Commands.h"
#include "cli/CommonOptions.h"
#include "cli/ConsoleSinks.h"
#include "cli/RecordingEvents.h"
#include "core/acquire/DeviceLink.h"
#include "core/acquire/LiveRecorder.h"
#include "core/acquire/ProbeRequests.h"
#include "core/acquire/ProbeSession.h"
#include "core/app/ProgramPaths.h"
#include "core/app/TextIds.h"
#include "core/base/ProgressSink.h"

#include <CLI/App.hpp>
#include <CLI/Validators.hpp>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>

namespace dorvane::cli {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto PollInterval = std::chrono::milliseconds(100);

struct RecordOptions
{
    std::string output;
    int frames = 0;
    int detectRadius = ProbeSession::DefaultDetectRadiusMm;
    int pulseWidth = ProbeSession::DefaultPulseWidthUs;
    int pipeRadius = ProbeSession::DefaultPipeRadiusMm;
    int waitSeconds = 10;
    std::chrono::seconds wait{10};
    std::string deviceLibrary;
    bool hasDeviceLibrary = false;
    bool simulate = false;
};

// "125, 187, ..." for the help and the option checks.
template<size_t N>
std::string listOf(const std::array<int, N> &values)
{
    std::string list;
    for (const int value : values)
        list += (list.empty() ? "" : ", ") + std::to_string(value);
    return list;
}

// The text broken at spaces into lines of at most 56 characters, as the
// other option texts are.
std::string wrapped(const std::string &text)
{
    constexpr size_t Width = 56;
    std::string out;
    size_t lineStart = 0;
    size_t lastSpace = std::string::npos;
    for (size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == ' ')
            lastSpace = out.size() - 1;
        if (out.size() - lineStart > Width && lastSpace != std::string::npos &&
            lastSpace > lineStart) {
            out[lastSpace] = '\n';
            lineStart = lastSpace + 1;
            lastSpace = std::string::npos;
        }
    }
    return out;
}

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

// The device wait of the acquire window, ticked until the probe is ready or
// the time is up.
bool waitForProbe(ProbeSession &session, const RecordOptions &o, MessageSink &messages)
{
    const auto deadline = Clock::now() + o.wait;
    bool toldWaiting = false;
    for (;;) {
        const ProbeSession::DeviceWait step = session.waitForDevice();
        switch (step.state) {
        case ProbeSession::DeviceState::Ready:
            return true;
        case ProbeSession::DeviceState::NoLibrary:
            messages.showMessage(step.textId);
            return false;
        case ProbeSession::DeviceState::FirmwareFailed:
            messages.showMessage(step.textId);
            continue; // the probe check follows at once
        case ProbeSession::DeviceState::FirmwareDownloaded:
            continue;
        case ProbeSession::DeviceState::Waiting:
            if (!std::exchange(toldWaiting, true))
                messages.showMessage(step.textId);
            break;
        case ProbeSession::DeviceState::CheckFailed:
            break;
        }
        if (Clock::now() >= deadline) {
            if (step.state == ProbeSession::DeviceState::Waiting)
                std::fprintf(stderr, "tessiq-cli record: no device within %lld s\n",
                             static_cast<long long>(o.wait.count()));
            else
                messages.showMessage(step.textId);
            return false;
        }
        std::this_thread::sleep_for(PollInterval);
    }
}

// Hands over frames until the last one is written; the recorder takes no
// more, so that the file holds exactly the frames asked for.
bool recordFrames(const RecordOptions &o, RecordingEvents &events)
{
    LiveRecorder &recorder = LiveRecorder::instance();
    StderrProgressSink progress;
    ProgressScope scope(&progress, o.frames);
    for (;;) {
        switch (events.next(o.wait)) {
        case RecordingEvents::Event::Failed:
            return false; // stopping tells why
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
    ProbeSession session(messages);
    if (!session.setPipeRadius(options.pipeRadius))
        return 1;
    DeviceLink &link = DeviceLink::instance();
    if (!bindLibrary(options, link, messages) || !waitForProbe(session, options, messages))
        return 1;

    LiveRecorder &recorder = LiveRecorder::instance();
    RecordingEvents events;
    if (!session.start(options.output, options.detectRadius, options.pulseWidth, &events,
                       options.frames)) {
        recorder.setListener(nullptr);
        return 1;
    }
    const bool recorded = recordFrames(options, events);
    const ProbeSession::Closing closing = session.close();
    if (!closing.probeStopped)
        messages.showMessage(text::SendCommandFailed);
    recorder.setListener(nullptr);
    return recorded && closing.recordingWhole ? 0 : 1;
}

} // namespace

CommandAction addRecord(CLI::App &command)
{
    auto o = std::make_shared<RecordOptions>();
    addOutputOption(command, o->output, "OUT.Imv");
    addWholeNumber(command, "--frames", o->frames, 1, 1000000, "N",
                   "the number of live frames to record")
        ->required();
    const std::string radii = listOf(probe::DetectRadiiMm);
    addDecimal(
        command, "--detect", o->detectRadius, "MM",
        wrapped("the detection radius (" + std::to_string(o->detectRadius) + "), one of " + radii))
        ->check(requestValidator(probe::detectRadiusRequest, radii));
    addWholeNumber(command, "--pipe", o->pipeRadius, 0, 65535, "MM",
                   "the pipe radius (" + std::to_string(o->pipeRadius) + ")");
    const std::string widths = listOf(probe::PulseWidthsUs);
    addDecimal(command, "--pulse", o->pulseWidth, "US",
               wrapped("the pulse width (" + std::to_string(o->pulseWidth) + "), one of " + widths))
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
