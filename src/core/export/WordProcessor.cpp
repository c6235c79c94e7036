#include "core/export/WordProcessor.h"

#include "core/app/SharedModule.h"
#include "core/export/ReportModule.h"

namespace dorvane {

std::unique_ptr<WordApplication> startWordProcessor(const std::string &outputPath,
                                                    std::string *partError)
{
    std::string error;
    const auto start =
        moduleEntry<StartWordProcessorFunction>(ReportModuleFile, ReportModuleEntry, error);
    if (!start) {
        if (partError)
            *partError = error;
        return nullptr;
    }
    return std::unique_ptr<WordApplication>(start(outputPath.c_str()));
}

} // namespace dorvane
