#include "core/library/ReportFileName.h"

#include <cstring>
#include <filesystem>

namespace dorvane {

namespace {

std::string safeForFileName(std::string name)
{
    for (char &c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || std::strchr("/\\:*?\"<>|", c))
            c = '_';
    }
    // Trailing spaces and dots vanish on other systems' disks.
    while (!name.empty() && (name.back() == ' ' || name.back() == '.'))
        name.pop_back();
    if (!name.empty() && name.front() == '.')
        name.front() = '_';
    return name;
}

std::string trimmed(const std::string &text)
{
    const size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

} // namespace

std::string reportFileName(const std::string &place, const std::string &startWell,
                           const std::string &endWell, const std::string &surveyPath)
{
    const std::string stem = std::filesystem::path(surveyPath).stem().string();
    std::string name = trimmed(place).empty() ? stem : trimmed(place);
    const std::string start = trimmed(startWell);
    const std::string end = trimmed(endWell);
    if (!start.empty() || !end.empty())
        name += " " + start + "-" + end;
    name = safeForFileName(name);
    return name.empty() ? "_" : name;
}

} // namespace dorvane
