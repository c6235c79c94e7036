#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dorvane {

class PosixFile;

// The journal of a save in place: the bytes the save overwrites, kept in a
// file beside the survey ("<name>.undo") until the save is on disk. A save
// cut off part way, by a killed process or a machine switched off, is rolled
// back from it the next time the file is opened: the file holds every change
// of a save or none.
class SaveJournal
{
public:
    enum class Recovery
    {
        NothingToDo, // no journal, or the edit it covers was finished or never begun
        PutBack,     // an edit cut off part way was taken back
        Stale,       // the file no longer holds what the journal describes: dropped
        Failed,      // the bytes could not be put back; the journal stays
    };

    static std::string pathFor(const std::string &file);

    // A range of the file with the bytes there now and the bytes the edit
    // writes, of the same length.
    void add(uint64_t offset, std::vector<uint8_t> before, std::vector<uint8_t> after);
    size_t size() const { return m_ranges.size(); }

    // Writes the journal of file whole (temporary file, sync, rename); on
    // failure error, when given, gets the system's reason.
    bool write(const std::string &file, int *error = nullptr) const;
    // Writes the edit's bytes of range index.
    bool writeRange(PosixFile &file, size_t index) const;
    // Writes the first count ranges' bytes as they were, last first.
    bool putBack(PosixFile &file, size_t count) const;
    // Removes the journal of file; true when none is left.
    static bool remove(const std::string &file);

    // Looks for a journal beside the file at path, open for reading and
    // writing in file, and settles it.
    static Recovery recover(const std::string &path, PosixFile &file);

    // The checksum that ends a journal, over the bytes before it.
    static uint32_t checksum(const uint8_t *data, size_t size);

private:
    struct Range
    {
        uint64_t offset = 0;
        std::vector<uint8_t> before;
        std::vector<uint8_t> after;
    };

    std::vector<uint8_t> encode() const;
    static std::optional<SaveJournal> decode(const std::vector<uint8_t> &bytes);

    std::vector<Range> m_ranges;
};

} // namespace dorvane
