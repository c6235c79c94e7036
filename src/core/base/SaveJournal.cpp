#include "core/base/SaveJournal.h"

#include "core/base/AtomicFile.h"
#include "core/base/ByteOrder.h"
#include "core/base/PosixFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvane {

namespace {

// "DVUJ", then the version, the range count and a reserved word; version 2
// adds the survey's device, inode and size. Each range is its offset (64
// bits), its length and its bytes before and after; a checksum of everything
// before it ends the file. Version 1 journals, of earlier versions of the
// program, are still settled, by their bytes alone.
constexpr uint32_t Magic = 0x4A555644;
constexpr uint32_t Version = 2;
constexpr size_t HeadSize = 16;
constexpr size_t IdentitySize = 24;
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

void appendU64(std::vector<uint8_t> &out, uint64_t value)
{
    appendU32(out, static_cast<uint32_t>(value));
    appendU32(out, static_cast<uint32_t>(value >> 32));
}

uint64_t readU64(const uint8_t *p)
{
    return le::readU32(p) | (uint64_t{le::readU32(p + 4)} << 32);
}

// What stands under the name, without following a link.
std::optional<struct stat> entryAt(const std::string &path)
{
    struct stat st
    {};
    if (::lstat(path.c_str(), &st) != 0)
        return std::nullopt;
    return st;
}

} // namespace

uint32_t SaveJournal::checksum(const uint8_t *data, size_t size)
{
    uint32_t hash = 2166136261u; // FNV-1a
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    return hash;
}

std::optional<SaveJournal::Identity> SaveJournal::identityOf(const PosixFile &file)
{
    struct stat st
    {};
    if (!file.isOpen() || ::fstat(file.descriptor(), &st) != 0)
        return std::nullopt;
    return Identity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
                    static_cast<uint64_t>(st.st_size)};
}

std::string SaveJournal::pathFor(const std::string &survey)
{
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(survey.c_str(), nullptr),
                                                           &std::free);
    return (real ? std::string(real.get()) : survey) + ".undo";
}

void SaveJournal::add(uint64_t offset, std::vector<uint8_t> before, std::vector<uint8_t> after)
{
    m_ranges.push_back({offset, std::move(before), std::move(after)});
}

std::vector<uint8_t> SaveJournal::encode(const Identity &survey) const
{
    std::vector<uint8_t> out;
    appendU32(out, Magic);
    appendU32(out, Version);
    appendU32(out, static_cast<uint32_t>(m_ranges.size()));
    appendU32(out, 0);
    appendU64(out, survey.device);
    appendU64(out, survey.inode);
    appendU64(out, survey.size);
    for (const Range &range : m_ranges) {
        appendU64(out, range.offset);
        appendU32(out, static_cast<uint32_t>(range.before.size()));
        out.insert(out.end(), range.before.begin(), range.before.end());
        out.insert(out.end(), range.after.begin(), range.after.end());
    }
    appendU32(out, checksum(out.data(), out.size()));
    return out;
}

bool SaveJournal::confine(Range &range)
{
    const uint64_t length = range.before.size();
    if (range.offset >= FileHeaderSize)
        return true;
    // Earlier versions journalled the whole header: the bytes outside the
    // text fields must then be left as they are, and are dropped.
    const uint64_t end = range.offset + length;
    for (uint64_t at = range.offset; at < std::min(end, FileHeaderSize); ++at) {
        const bool inText = at >= HeaderTextsBegin && at < HeaderTextsEnd;
        if (!inText && range.before[at - range.offset] != range.after[at - range.offset])
            return false;
    }
    if (end > FileHeaderSize)
        return false;
    const uint64_t first = std::max(range.offset, HeaderTextsBegin);
    const uint64_t last = std::min(end, HeaderTextsEnd);
    if (first >= last) {
        range.before.clear();
        range.after.clear();
        return true;
    }
    const auto from = static_cast<std::ptrdiff_t>(first - range.offset);
    const auto to = static_cast<std::ptrdiff_t>(last - range.offset);
    range.before = {range.before.begin() + from, range.before.begin() + to};
    range.after = {range.after.begin() + from, range.after.begin() + to};
    range.offset = first;
    return true;
}

std::optional<SaveJournal> SaveJournal::decode(const std::vector<uint8_t> &bytes,
                                               std::optional<Identity> &survey)
{
    survey.reset();
    if (bytes.size() < HeadSize + TailSize)
        return std::nullopt;
    const size_t body = bytes.size() - TailSize;
    const uint32_t version = le::readU32(bytes.data() + 4);
    if (le::readU32(bytes.data()) != Magic || (version != 1 && version != Version) ||
        le::readU32(bytes.data() + body) != checksum(bytes.data(), body))
        return std::nullopt;
    const uint32_t count = le::readU32(bytes.data() + 8);
    size_t at = HeadSize;
    if (version == Version) {
        if (body - at < IdentitySize)
            return std::nullopt;
        survey = Identity{readU64(bytes.data() + at), readU64(bytes.data() + at + 8),
                          readU64(bytes.data() + at + 16)};
        at += IdentitySize;
    }
    SaveJournal journal;
    for (uint32_t i = 0; i < count; ++i) {
        if (body - at < RangeHeadSize)
            return std::nullopt;
        const uint64_t offset = readU64(bytes.data() + at);
        const uint32_t length = le::readU32(bytes.data() + at + 8);
        at += RangeHeadSize;
        if (length > MaxRangeLength || body - at < 2 * size_t{length} ||
            offset > UINT64_MAX - length)
            return std::nullopt;
        const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(at);
        Range range{offset, {first, first + length}, {first + length, first + 2 * length}};
        if (!confine(range))
            return std::nullopt;
        if (!range.before.empty())
            journal.m_ranges.push_back(std::move(range));
        at += 2 * size_t{length};
    }
    if (at != body)
        return std::nullopt;
    return journal;
}

bool SaveJournal::write(const std::string &journalPath, const Identity &survey, int *error) const
{
    const std::vector<uint8_t> bytes = encode(survey);
    AtomicFile journal;
    AtomicFile::Options options;
    options.followLink = false;
    options.lockDestination = false;
    const bool written = journal.open(journalPath, options) &&
                         journal.file().write(bytes.data(), bytes.size()) && journal.commit();
    if (written)
        return true;
    if (error)
        *error = journal.lastError();
    journal.discard();
    // Only the folder's sync may have failed after the rename.
    remove(journalPath);
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

bool SaveJournal::remove(const std::string &journalPath)
{
    const auto entry = entryAt(journalPath);
    if (!entry)
        return true;
    // A link or anything else under the name is not the program's to remove.
    if (!S_ISREG(entry->st_mode))
        return false;
    return ::unlink(journalPath.c_str()) == 0 || errno == ENOENT;
}

bool SaveJournal::nameIsTaken(const std::string &journalPath)
{
    const auto entry = entryAt(journalPath);
    return entry && !S_ISREG(entry->st_mode);
}

SaveJournal::Recovery SaveJournal::recover(const std::string &journalPath, PosixFile &file)
{
    const auto entry = entryAt(journalPath);
    if (!entry)
        return errno == ENOENT ? Recovery::NothingToDo : Recovery::Failed;
    if (!S_ISREG(entry->st_mode))
        return Recovery::NotAFile;
    PosixFile stored;
    if (!stored.open(journalPath, PosixFile::Mode::Read))
        return Recovery::Failed;
    const auto size = stored.size();
    if (!size || *size > MaxJournalSize)
        return Recovery::Damaged;
    std::vector<uint8_t> bytes(static_cast<size_t>(*size));
    if (!stored.readAt(0, bytes.data(), bytes.size()))
        return Recovery::Failed;
    stored.close();
    std::optional<Identity> survey;
    const auto journal = decode(bytes, survey);
    if (!journal)
        return Recovery::Damaged;
    // Written for another file: a survey copied or replaced since.
    if (survey && survey != identityOf(file)) {
        remove(journalPath);
        return Recovery::Stale;
    }

    bool allBefore = true;
    bool allAfter = true;
    for (const Range &range : journal->m_ranges) {
        std::vector<uint8_t> now(range.before.size());
        const bool read = file.readAt(range.offset, now.data(), now.size());
        const bool isBefore = read && now == range.before;
        const bool isAfter = read && now == range.after;
        if (!isBefore && !isAfter) {
            // The file was changed since: the journal is not its own any more.
            remove(journalPath);
            return Recovery::Stale;
        }
        allBefore = allBefore && isBefore;
        allAfter = allAfter && isAfter;
    }
    if (allBefore || allAfter) {
        remove(journalPath);
        return Recovery::NothingToDo;
    }
    if (!journal->putBack(file, journal->size()) || !file.sync())
        return Recovery::Failed;
    remove(journalPath);
    return Recovery::PutBack;
}

} // namespace dorvane
