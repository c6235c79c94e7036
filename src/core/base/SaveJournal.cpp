#include "core/base/SaveJournal.h"

#include "core/base/AtomicFile.h"
#include "core/base/ByteOrder.h"
#include "core/base/PosixFile.h"

#include <cerrno>
#include <unistd.h>

namespace dorvane {

namespace {

// "DVUJ", then the version, the range count and a reserved word; each range
// is its offset (64 bits), its length and its bytes before and after; a
// checksum of everything before it ends the file.
constexpr uint32_t Magic = 0x4A555644;
constexpr uint32_t Version = 1;
constexpr size_t HeadSize = 16;
constexpr size_t RangeHeadSize = 12;
constexpr size_t TailSize = 4;
// Far more than the headers of the longest survey: anything larger is not
// a journal this program wrote.
constexpr uint64_t MaxJournalSize = uint64_t{1} << 30;
constexpr uint32_t MaxRangeLength = 1u << 20;

void appendU32(std::vector<uint8_t> &out, uint32_t value)
{
    const size_t at = out.size();
    out.resize(at + 4);
    le::writeU32(out.data() + at, value);
}

} // namespace

uint32_t SaveJournal::checksum(const uint8_t *data, size_t size)
{
    uint32_t hash = 2166136261u; // FNV-1a
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    return hash;
}

std::string SaveJournal::pathFor(const std::string &file)
{
    return file + ".undo";
}

void SaveJournal::add(uint64_t offset, std::vector<uint8_t> before, std::vector<uint8_t> after)
{
    m_ranges.push_back({offset, std::move(before), std::move(after)});
}

std::vector<uint8_t> SaveJournal::encode() const
{
    std::vector<uint8_t> out;
    appendU32(out, Magic);
    appendU32(out, Version);
    appendU32(out, static_cast<uint32_t>(m_ranges.size()));
    appendU32(out, 0);
    for (const Range &range : m_ranges) {
        appendU32(out, static_cast<uint32_t>(range.offset));
        appendU32(out, static_cast<uint32_t>(range.offset >> 32));
        appendU32(out, static_cast<uint32_t>(range.before.size()));
        out.insert(out.end(), range.before.begin(), range.before.end());
        out.insert(out.end(), range.after.begin(), range.after.end());
    }
    appendU32(out, checksum(out.data(), out.size()));
    return out;
}

std::optional<SaveJournal> SaveJournal::decode(const std::vector<uint8_t> &bytes)
{
    if (bytes.size() < HeadSize + TailSize)
        return std::nullopt;
    const size_t body = bytes.size() - TailSize;
    if (le::readU32(bytes.data()) != Magic || le::readU32(bytes.data() + 4) != Version ||
        le::readU32(bytes.data() + body) != checksum(bytes.data(), body))
        return std::nullopt;
    const uint32_t count = le::readU32(bytes.data() + 8);
    SaveJournal journal;
    size_t at = HeadSize;
    for (uint32_t i = 0; i < count; ++i) {
        if (body - at < RangeHeadSize)
            return std::nullopt;
        const uint64_t offset =
            le::readU32(bytes.data() + at) | (uint64_t{le::readU32(bytes.data() + at + 4)} << 32);
        const uint32_t length = le::readU32(bytes.data() + at + 8);
        at += RangeHeadSize;
        if (length > MaxRangeLength || body - at < 2 * size_t{length})
            return std::nullopt;
        const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(at);
        journal.add(offset, {first, first + length}, {first + length, first + 2 * length});
        at += 2 * size_t{length};
    }
    if (at != body)
        return std::nullopt;
    return journal;
}

bool SaveJournal::write(const std::string &file, int *error) const
{
    const std::vector<uint8_t> bytes = encode();
    AtomicFile journal;
    const bool written = journal.open(pathFor(file)) &&
                         journal.file().write(bytes.data(), bytes.size()) && journal.commit();
    if (written)
        return true;
    if (error)
        *error = journal.lastError();
    journal.discard();
    // Only the folder's sync may have failed after the rename.
    remove(file);
    return false;
}

bool SaveJournal::writeRange(PosixFile &file, size_t index) const
{
    const Range &range = m_ranges.at(index);
    return file.writeAt(range.offset, range.after.data(), range.after.size());
}

bool SaveJournal::putBack(PosixFile &file, size_t count) const
{
    bool ok = true;
    for (size_t i = std::min(count, m_ranges.size()); i-- > 0;)
        ok = file.writeAt(m_ranges[i].offset, m_ranges[i].before.data(),
                          m_ranges[i].before.size()) &&
             ok;
    return ok;
}

bool SaveJournal::remove(const std::string &file)
{
    return ::unlink(pathFor(file).c_str()) == 0 || errno == ENOENT;
}

SaveJournal::Recovery SaveJournal::recover(const std::string &path, PosixFile &file)
{
    PosixFile stored;
    if (!stored.open(pathFor(path), PosixFile::Mode::Read))
        return errno == ENOENT ? Recovery::NothingToDo : Recovery::Failed;
    const auto size = stored.size();
    if (!size || *size > MaxJournalSize)
        return Recovery::Stale;
    std::vector<uint8_t> bytes(static_cast<size_t>(*size));
    if (!stored.readAt(0, bytes.data(), bytes.size()))
        return Recovery::Failed;
    stored.close();
    // Not a journal this program finished writing: left alone, not applied.
    const auto journal = decode(bytes);
    if (!journal)
        return Recovery::Stale;

    bool allBefore = true;
    bool allAfter = true;
    for (const Range &range : journal->m_ranges) {
        std::vector<uint8_t> now(range.before.size());
        const bool read = file.readAt(range.offset, now.data(), now.size());
        const bool isBefore = read && now == range.before;
        const bool isAfter = read && now == range.after;
        if (!isBefore && !isAfter) {
            // The file was changed or replaced since: the journal is not
            // its own any more.
            remove(path);
            return Recovery::Stale;
        }
        allBefore = allBefore && isBefore;
        allAfter = allAfter && isAfter;
    }
    if (allBefore || allAfter) {
        remove(path);
        return Recovery::NothingToDo;
    }
    if (!journal->putBack(file, journal->size()) || !file.sync())
        return Recovery::Failed;
    remove(path);
    return Recovery::PutBack;
}

} // namespace dorvane
