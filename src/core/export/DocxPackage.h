#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace dorvane {

// The parts of an Office Open XML package (a zip archive) held in memory, in
// their archive order: read whole, changed, packed again whole.
class DocxPackage
{
public:
    // Reads every part of the archive at path; false when it cannot be read,
    // is not a zip archive, fails its check sums or unpacks to more than a
    // report can plausibly hold.
    bool read(const std::string &path);

    // The part's bytes, or null when there is no such part.
    const std::string *part(const std::string &name) const;
    // Replaces the part, or adds it at the end.
    void setPart(const std::string &name, std::string bytes);

    // The whole archive; nothing when it cannot be made.
    std::optional<std::vector<uint8_t>> archive() const;

private:
    std::vector<std::pair<std::string, std::string>> m_parts;
};

} // namespace dorvane
