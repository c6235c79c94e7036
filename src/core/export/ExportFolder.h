#pragma once

#include <memory>
#include <string>

namespace dorvane {

// A folder of its own for the intermediate files of one export: made fresh
// under the temporary folder ($TMPDIR, else /tmp), or in a folder given,
// with mode 0700, so that no other user can see or plant files in it, and
// removed with everything in it when the object goes. Removal never follows
// a link out of the folder.
class ExportFolder
{
public:
    // Null when no folder can be made.
    static std::unique_ptr<ExportFolder> create();
    // In parent (made absolute), named prefix and six random characters;
    // null, with systemError the errno value, when it cannot be made.
    static std::unique_ptr<ExportFolder> create(const std::string &parent,
                                                const std::string &prefix, int &systemError);
    ~ExportFolder();
    ExportFolder(const ExportFolder &) = delete;
    ExportFolder &operator=(const ExportFolder &) = delete;

    // With a trailing '/'.
    const std::string &path() const { return m_path; }

private:
    explicit ExportFolder(std::string path) : m_path(std::move(path)) {}

    std::string m_path;
};

// The report template beside the program: "doc.templ", or "doc-en.templ" for
// an English report.
std::string reportTemplatePath(bool english);

} // namespace dorvane
