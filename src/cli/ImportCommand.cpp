#include "cli/Commands.h"
#include "cli/CommonOptions.h"
#include "cli/ConsoleSinks.h"
#include "core/acquire/ImgImport.h"

#include <CLI/App.hpp>
#include <cstdio>
#include <memory>

namespace dorvane::cli {

namespace {

int runImport(const std::vector<std::string> &images, const std::string &output)
{
    StderrMessageSink messages;
    StderrProgressSink progress;
    int failed = -1;
    if (importImgFiles(images, AnimationFileHeader::newAnimation(), output, &progress, messages,
                       &failed))
        return 0;
    if (failed >= 0)
        std::fprintf(stderr, "tessiq-cli import: stopped at %s (item %d)\n",
                     images[static_cast<size_t>(failed)].c_str(), failed + 1);
    return 1;
}

} // namespace

CommandAction addImport(CLI::App &command)
{
    struct Options
    {
        std::vector<std::string> images;
        std::string output;
    };
    auto o = std::make_shared<Options>();
    command.add_option("IMG", o->images, "the probe image files, in the order of the frames")
        ->type_name("")
        ->required();
    addOutputOption(command, o->output, "OUT.Imv");
    return [o] { return runImport(o->images, o->output); };
}

} // namespace dorvane::cli
