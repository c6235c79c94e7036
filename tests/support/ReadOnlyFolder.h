#pragma once

#include <string>

namespace dorvane::test {

// Makes a folder in which this process cannot create files, and undoes it
// on destruction: mode 0555, and for root, who ignores modes, the immutable
// flag where the file system has one.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(std::string path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    // False when creating files could not be prevented (the test is skipped).
    bool isReadOnly() const { return m_readOnly; }

private:
    std::string m_path;
    bool m_immutable = false;
    bool m_readOnly = false;
};

} // namespace dorvane::test
