#include "cli/DrawCommands.h"

#include "core/app/SharedModule.h"

#include <cstdio>

namespace dorvane::cli {

const DrawCommands *drawCommands()
{
    std::string error;
    const auto commands = moduleEntry<DrawCommandsFunction>(DrawModuleFile, DrawModuleEntry, error);
    if (!commands) {
        std::fprintf(stderr, "tessiq-cli: the drawing part cannot be loaded: %s\n", error.c_str());
        return nullptr;
    }
    return commands();
}

} // namespace dorvane::cli
