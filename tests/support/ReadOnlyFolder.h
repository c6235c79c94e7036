#pragma once

#include <string>

namespace dorvane::test {

// Makes a folder in which this process cannot create files, and undoes it on
// destruction. Mode 0555 does it for an ordinary user; root ignores modes,
// so for root the folder is also made immutable, where the file system can.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(std::string path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    // False when creating files could not be prevented here (the test is
    // skipped).
    bool isReadOnly() const { return m_readOnly; }

private:
    bool setImmutable(bool on) const;

    std::string m_path;
    bool m_immutable = false;
    bool m_readOnly = false;
};

} // namespace dorvane::test
