#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace dorvane {

// An owned file descriptor with whole-buffer reads and writes. Every read
// reports a short read as failure, so callers never trust bytes they did not
// get.
class PosixFile
{
public:
    enum class Mode
    {
        Read,      // existing file, read only
        ReadWrite, // existing file, read and write
        Create,    // create or truncate, write only
        CreateNew, // create a file that does not exist yet, write only
        Replace,   // create, or open without cutting it yet, write only
    };

    PosixFile() = default;
    ~PosixFile();
    PosixFile(PosixFile &&other) noexcept;
    PosixFile &operator=(PosixFile &&other) noexcept;
    PosixFile(const PosixFile &) = delete;
    PosixFile &operator=(const PosixFile &) = delete;

    bool open(const std::string &path, Mode mode);
    // Closes the file; false when the system reports that buffered data could
    // not be written.
    bool close();
    bool isOpen() const { return m_fd >= 0; }
    int descriptor() const { return m_fd; }

    std::optional<uint64_t> size() const;

    // Reads exactly size bytes at offset; false on a short read or an error.
    bool readAt(uint64_t offset, void *data, size_t size) const;
    // Reads up to size bytes at offset; the count read, short only at the end
    // of the file or on an error.
    size_t readSomeAt(uint64_t offset, void *data, size_t size) const;
    // Reads up to size bytes at the current position; the count read, 0 at
    // the end of the file or on an error.
    size_t read(void *data, size_t size);

    // Writes all size bytes at offset / at the current position.
    bool writeAt(uint64_t offset, const void *data, size_t size);
    bool write(const void *data, size_t size);

    bool seek(uint64_t offset);
    // Cuts the file to size bytes (or extends it with zeros).
    bool truncate(uint64_t size);
    // Flushes the file's data to the disk.
    bool sync();

    // Takes an advisory lock (flock) on the file without waiting: exclusive
    // for a writer, shared for a reader; a held lock is converted. False,
    // with EWOULDBLOCK as the error, while another open of the file holds
    // one that conflicts (in this process too). Closing releases it.
    bool tryLock(bool exclusive);
    void unlock();

    // The errno value of the last call that failed (0 when none has), for
    // telling the user why: a full disk reads differently from a refusal.
    int lastError() const { return m_error; }

private:
    // Keeps errno (or the given value) as the last error; false.
    bool failed(int error) const;

    int m_fd = -1;
    mutable int m_error = 0;
};

} // namespace dorvane
