#include "core/export/WordProcessor.h"

#include "core/export/DocxWordApplication.h"
#include "core/export/OfficeConverter.h"
#include "core/export/ReportFormat.h"

namespace dorvane {

std::unique_ptr<WordApplication> startWordProcessor(const std::string &outputPath)
{
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

} // namespace dorvane
