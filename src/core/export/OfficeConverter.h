#pragma once

#include "core/export/ReportFormat.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dorvane {

// Converts .docx documents to .doc or .pdf with LibreOffice running headless.
// Each conversion has a private folder of its own for the files and for
// LibreOffice's profile, so conversions can run side by side.
class OfficeConverter
{
public:
    // LibreOffice's "soffice" program on PATH; nothing when there is none.
    static std::optional<OfficeConverter> find();

    explicit OfficeConverter(std::string program) : m_program(std::move(program)) {}

    // Converts the .docx package into format (Doc or Pdf) and writes it to
    // destination, complete or absent. False when LibreOffice fails, does
    // not finish within timeout, or leaves no plausible file (systemError
    // 0), or when the destination cannot be written (systemError the errno
    // value of the system's refusal).
    bool convert(const std::vector<uint8_t> &docx, ReportFormat format,
                 const std::string &destination, int &systemError,
                 std::chrono::seconds timeout = std::chrono::seconds(300)) const;

    const std::string &program() const { return m_program; }

private:
    std::string m_program;
};

} // namespace dorvane
