#pragma once

#include <string>

namespace dorvane::test {

// Sets or clears the immutable flag of a file or folder, which stops even
// root from changing it; false where the file system has no such flag.
bool setImmutableFlag(const std::string &path, bool on);

// Makes a file that this process cannot open for writing, as a survey on a
// read-only medium or one owned by another user is, and undoes it on
// destruction. Mode 0444 does it for an ordinary user; root ignores modes,
// so for root the file is also made immutable, where the file system can.
class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(std::string path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile &) = delete;
    ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;

    // False when writing could not be prevented here (the test is skipped).
    bool isReadOnly() const { return m_readOnly; }

private:
    std::string m_path;
    bool m_immutable = false;
    bool m_readOnly = false;
};

} // namespace dorvane::test
