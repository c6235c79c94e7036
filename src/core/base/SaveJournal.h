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
//
// A journal names the survey it was written for (device, inode and size) and
// is applied to no other. It may change the file header only in its three
// text fields. It never follows a link: whatever else stands under its name
// is left alone.
class SaveJournal
{
public:
    enum class Recovery
    {
        NothingToDo, // no journal, or the edit it covers was finished or never begun
        PutBack,     // an edit cut off part way was taken back
        Stale,       // the file no longer holds what the journal describes: dropped
        Failed,      // the bytes could not be put back; the journal stays
        Damaged,     // not a journal this program finished writing: left alone
        NotAFile,    // a link, folder, FIFO or device has the journal's name: left alone
    };

    // The survey's file header, of which a journal may change only the
    // place and well texts.
    static constexpr uint64_t FileHeaderSize = 1024;
    static constexpr uint64_t HeaderTextsBegin = 8;
    static constexpr uint64_t HeaderTextsEnd = 88;

    // Which file a journal belongs to.
    struct Identity
    {
        uint64_t device = 0;
        uint64_t inode = 0;
        uint64_t size = 0;
        bool operator==(const Identity &) const = default;
    };
    static std::optional<Identity> identityOf(const PosixFile &file);

    // The journal's name for a survey: beside the file the survey's name
    // leads to, so that every name of one survey finds the same journal.
    static std::string pathFor(const std::string &survey);

    // A range of the file with the bytes there now and the bytes the edit
    // writes, of the same length.
    void add(uint64_t offset, std::vector<uint8_t> before, std::vector<uint8_t> after);
    size_t size() const { return m_ranges.size(); }

    // Writes the journal whole (new temporary file, sync, rename) for the
    // survey of that identity; on failure error, when given, gets the
    // system's reason (ELOOP, EISDIR or EINVAL: something else has the name).
    bool write(const std::string &journalPath, const Identity &survey, int *error = nullptr) const;
    // Writes the edit's bytes of range index.
    bool writeRange(PosixFile &file, size_t index) const;
    // Writes the first count ranges' bytes as they were, last first.
    bool putBack(PosixFile &file, size_t count) const;
    // Removes the journal if it is a file; true when no journal file is left.
    static bool remove(const std::string &journalPath);
    // True when something that is not a regular file has the journal's name.
    static bool nameIsTaken(const std::string &journalPath);

    // Settles the journal at journalPath against file, open for reading and
    // writing.
    static Recovery recover(const std::string &journalPath, PosixFile &file);

    // The checksum that ends a journal, over the bytes before it.
    static uint32_t checksum(const uint8_t *data, size_t size);

private:
    struct Range
    {
        uint64_t offset = 0;
        std::vector<uint8_t> before;
        std::vector<uint8_t> after;
    };

    std::vector<uint8_t> encode(const Identity &survey) const;
    static std::optional<SaveJournal> decode(const std::vector<uint8_t> &bytes,
                                             std::optional<Identity> &survey);
    // Keeps only what a journal may change in the file header; false when a
    // range would change anything else there.
    static bool confine(Range &range);

    std::vector<Range> m_ranges;
};

} // namespace dorvane
