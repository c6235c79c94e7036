#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/ConsoleSinks.h"
#include "core/acquire/ImgImport.h"

#include <cstdio>

namespace dorvane::cli {

int runImport(const std::vector<std::string> &args)
{
    const Arguments arguments(args, {"-o"}, {});
    const std::string output = arguments.required("-o");
    const std::vector<std::string> &images = arguments.positional();
    if (images.empty())
        throw UsageError{"expected at least one IMG file"};

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

} // namespace dorvane::cli
