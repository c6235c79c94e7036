#pragma once

#include <cctype>
#include <string>

namespace dorvane {

enum class ReportFormat
{
    Unknown,
    Docx,
    Doc,
    Pdf,
};

// The format a file name asks for by its ending, letter case aside.
inline ReportFormat reportFormatOf(const std::string &path)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return ReportFormat::Unknown;
    std::string ending = path.substr(dot + 1);
    for (char &c : ending)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ending == "docx")
        return ReportFormat::Docx;
    if (ending == "doc")
        return ReportFormat::Doc;
    if (ending == "pdf")
        return ReportFormat::Pdf;
    return ReportFormat::Unknown;
}

} // namespace dorvane
