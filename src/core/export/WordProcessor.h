#pragma once

#include "core/export/WordObjects.h"

#include <memory>
#include <string>

namespace dorvane {

// The word processor that writes a report to outputPath, chosen by the
// name's ending (letter case aside): ".docx" is written by the built-in
// engine; ".doc" and ".pdf" are filled the same way and converted on saving
// by LibreOffice ("soffice" found on PATH). Null when the name has another
// ending, or is a .doc or .pdf while LibreOffice is not installed.
std::unique_ptr<WordApplication> startWordProcessor(const std::string &outputPath);

} // namespace dorvane
