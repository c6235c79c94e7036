#pragma once

namespace dorvane {

class WordApplication;

// The report part of the program: the word processor that fills .docx
// packages (libzip, pugixml) and converts them with LibreOffice.
constexpr const char *ReportModuleFile = "libtessiq-report.so";
constexpr const char *ReportModuleEntry = "tessiqStartWordProcessor";
// The word processor for a report written to outputPath, owned by the
// caller; null as startWordProcessor() says.
using StartWordProcessorFunction = WordApplication *(*)(const char *outputPath);

} // namespace dorvane
