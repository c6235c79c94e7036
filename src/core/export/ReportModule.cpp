#include "core/export/ReportModule.h"

#include "core/export/DocxWordApplication.h"
#include "core/export/OfficeConverter.h"
#include "core/export/ReportFormat.h"

#include <memory>
#include <type_traits>

namespace {

std::unique_ptr<dorvane::WordApplication> wordProcessorFor(const char *outputPath)
{
    using namespace dorvane;
    switch (reportFormatOf(outputPath)) {
    case ReportFormat::Docx:
        return std::make_unique<DocxWordApplication>(std::nullopt);
    case ReportFormat::Doc:
    case ReportFormat::Pdf:
        if (auto converter = OfficeConverter::find())
            return std::make_unique<DocxWordApplication>(std::move(converter));
        return nullptr;
    case ReportFormat::Unknown:
        break;
    }
    return nullptr;
}

} // namespace

// The one function the report part exports.
extern "C" __attribute__((visibility("default"))) dorvane::WordApplication *
tessiqStartWordProcessor(const char *outputPath)
{
    return wordProcessorFor(outputPath).release();
}

static_assert(
    std::is_same_v<decltype(&tessiqStartWordProcessor), dorvane::StartWordProcessorFunction>);
