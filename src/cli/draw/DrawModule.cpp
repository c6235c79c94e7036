#include "cli/draw/DrawRuns.h"

#include <type_traits>

namespace {

constexpr dorvane::cli::DrawCommands Commands{dorvane::cli::runRender, dorvane::cli::runChart,
                                              dorvane::cli::runRender3d, dorvane::cli::runReport,
                                              dorvane::cli::runVideo};

} // namespace

// The one function the drawing part exports.
extern "C" __attribute__((visibility("default"))) const dorvane::cli::DrawCommands *
tessiqDrawCommands()
{
    return &Commands;
}

static_assert(std::is_same_v<decltype(&tessiqDrawCommands), dorvane::cli::DrawCommandsFunction>);
