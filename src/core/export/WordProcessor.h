#pragma once

#include "core/export/WordObjects.h"

#include <memory>
#include <string>

namespace dorvane {

// The word processor that writes a report to outputPath, chosen by the
// name's ending (letter case aside): ".docx" is written by the built-in
// engine; ".doc" and ".pdf" are filled the same way and converted on saving
// by LibreOffice ("soffice" found on PATH). Null when the name has another
// ending, or is a .doc or .pdf while LibreOffice is not installed. The
// engine is a part of the program of its own (libtessiq-report.so in the
// program folder), loaded with the first report; when it cannot be loaded
// the result is null too, and partError, when given, gets the system's text.
std::unique_ptr<WordApplication> startWordProcessor(const std::string &outputPath,
                                                    std::string *partError = nullptr);

} // namespace dorvane
