#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/ConsoleSinks.h"
#include "core/acquire/SurveySimulator.h"
#include "core/display/PictureGeometry.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace dorvane::cli {

int runSimulate(const std::vector<std::string> &args)
{
    const Arguments arguments(args, {"-o", "--frames", "--seed", "--detect", "--pipe"}, {});
    arguments.expectPositional(0);
    const std::string output = arguments.required("-o");
    const int frames = static_cast<int>(arguments.integer("--frames", 0, 1, 1000000));
    if (!arguments.value("--frames"))
        throw UsageError{"option --frames is required"};

    SurveySimulator::Options options;
    options.seed = static_cast<uint64_t>(arguments.integer("--seed", 1, 0, INT32_MAX));
    options.detectRadius = static_cast<int>(arguments.integer("--detect", 1000, 125, 6000));
    options.pipeRadius =
        static_cast<int>(arguments.integer("--pipe", std::min(600, options.detectRadius * 6 / 10),
                                           MinimumPipeRadiusMm, options.detectRadius));

    StderrMessageSink messages;
    StderrProgressSink progress;
    const SurveySimulator simulator(options);
    return writeSimulatedSurvey(output, simulator, frames, &progress, messages) ? 0 : 1;
}

} // namespace dorvane::cli
