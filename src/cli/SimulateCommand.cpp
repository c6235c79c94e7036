#include "cli/Commands.h"
#include "cli/CommonOptions.h"
#include "cli/ConsoleSinks.h"
#include "core/acquire/SurveySimulator.h"
#include "core/display/PictureGeometry.h"

#include <CLI/App.hpp>
#include <algorithm>
#include <memory>

namespace dorvane::cli {

namespace {

struct SimulateOptions
{
    std::string output;
    int frames = 0;
    int seed = 1;
    int detectRadius = 1000;
    int pipeRadius = 0; // 0: from the detection radius
};

int runSimulate(const SimulateOptions &o)
{
    SurveySimulator::Options options;
    options.seed = static_cast<uint64_t>(o.seed);
    options.detectRadius = o.detectRadius;
    options.pipeRadius = o.pipeRadius ? o.pipeRadius : std::min(600, o.detectRadius * 6 / 10);

    StderrMessageSink messages;
    StderrProgressSink progress;
    const SurveySimulator simulator(options);
    return writeSimulatedSurvey(o.output, simulator, o.frames, &progress, messages) ? 0 : 1;
}

} // namespace

CommandAction addSimulate(CLI::App &command)
{
    auto o = std::make_shared<SimulateOptions>();
    addOutputOption(command, o->output, "OUT.Imv");
    addWholeNumber(command, "--frames", o->frames, 1, 1000000, "N", "the number of frames")
        ->required();
    addWholeNumber(command, "--seed", o->seed, 0, INT32_MAX, "S",
                   "the seed of the random survey (1)");
    addWholeNumber(command, "--detect", o->detectRadius, 125, 6000, "MM",
                   "the detection radius (1000)");
    addWholeNumber(command, "--pipe", o->pipeRadius, MinimumPipeRadiusMm, 6000, "MM",
                   "the pipe radius, up to the detection radius\n"
                   "(6/10 of it, at most 600)");
    command.callback([o] {
        if (o->pipeRadius > o->detectRadius)
            throw CLI::ValidationError("--pipe", "the pipe radius is larger than the detection "
                                                 "radius, " +
                                                     std::to_string(o->detectRadius));
    });
    return [o] { return runSimulate(*o); };
}

} // namespace dorvane::cli
