#pragma once

#include <memory>
#include <string>

namespace dorvane::cli {

// A hidden folder of its own in the output folder where the children write
// their reports (and keep their temporary files) until each is whole and
// moved into place; removed with everything in it when the object goes, so
// a cancelled batch leaves nothing half-written.
class StagingFolder
{
public:
    // Null, with error saying why, when it cannot be made.
    static std::unique_ptr<StagingFolder> create(const std::string &parent, std::string &error);
    ~StagingFolder();
    StagingFolder(const StagingFolder &) = delete;
    StagingFolder &operator=(const StagingFolder &) = delete;

    // Without a trailing '/'.
    const std::string &path() const { return m_path; }

private:
    explicit StagingFolder(std::string path) : m_path(std::move(path)) {}

    std::string m_path;
};

} // namespace dorvane::cli
