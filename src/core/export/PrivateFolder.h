#pragma once

#include <string>

namespace dorvane {

// A fresh folder of the process's own (mode 0700) under the system's
// temporary folder, removed with everything in it when the object goes.
class PrivateFolder
{
public:
    PrivateFolder() = default;
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder &) = delete;
    PrivateFolder &operator=(const PrivateFolder &) = delete;

    // Makes the folder, its name starting with prefix; false when it cannot.
    bool create(const std::string &prefix);
    // The folder's path, without a trailing '/'; empty before create().
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace dorvane
