#include "cli/CommandLine.h"
#include "cli/ConsoleSinks.h"
#include "cli/UsageError.h"
#include "core/app/ProgramPaths.h"
#include "core/app/Settings.h"
#include "core/app/TextIds.h"
#include "core/app/TextService.h"
#include "core/base/MemoryPolicy.h"

#include <algorithm>
#include <csignal>
#include <cstdio>

namespace {

// Output lost to a full disk or a device that takes nothing must not pass
// for success: the status is that of the command, or 1 when its output was
// not written completely.
int withOutputChecked(int status)
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return status;
    dorvane::cli::StderrMessageSink().showMessage(dorvane::text::SaveFileFailed);
    return std::max(status, 1);
}

} // namespace

int main(int argc, char **argv)
{
    dorvane::returnLargeBlocksWhenFreed();
    using namespace dorvane::cli;
    CommandLine commandLine;
    if (const auto status = commandLine.parse(argc, argv))
        return *status == 0 ? withOutputChecked(0) : *status;

    // A file size limit makes writes fail, to be told like a full disk,
    // instead of ending the process with temporary files left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    // Messages come in the language of the desktop program's settings.
    dorvane::setUserConfigFolder(dorvane::defaultUserConfigFolder());
    dorvane::loadSettings();
    if (const std::string problem = dorvane::languageFileProblem(); !problem.empty())
        std::fprintf(stderr, "tessiq-cli: language file refused, built-in texts used: %s\n",
                     problem.c_str());
    try {
        return withOutputChecked(commandLine.action()());
    } catch (const UsageError &error) {
        commandLine.reportUsageError(error.message);
        return 2;
    }
}
