#include "core/base/SaveJournal.h"

#include "core/app/TextIds.h"
#include "core/base/PosixFile.h"
#include "core/data/AnimationFile.h"
#include "core/document/AnimationDocument.h"
#include "support/ReadOnlyFile.h"
#include "support/TestSupport.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace dorvane;
using namespace dorvane::test;
namespace fs = std::filesystem;

namespace {

// A 2048-byte file of dots and an edit of two of its ranges: "ab" at 10 (in
// the header's texts) becomes "XY", "gh" at 1500 becomes "ZW".
std::vector<uint8_t> fileWith(std::string_view first, std::string_view second, size_t size = 2048)
{
    std::vector<uint8_t> bytes(size, '.');
    std::copy(first.begin(), first.end(), bytes.begin() + 10);
    if (size >= 1502)
        std::copy(second.begin(), second.end(), bytes.begin() + 1500);
    return bytes;
}

class SaveJournalTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeFileBytes(path, fileWith("ab", "gh"));
        journal.add(10, bytesOf("ab"), bytesOf("XY"));
        journal.add(1500, bytesOf("gh"), bytesOf("ZW"));
        writeJournal();
    }

    void writeJournal()
    {
        PosixFile file;
        ASSERT_TRUE(file.open(path, PosixFile::Mode::Read));
        ASSERT_TRUE(journal.write(journalPath, *SaveJournal::identityOf(file)));
    }

    // Settles the journal as an open of the file would.
    SaveJournal::Recovery recover(PosixFile::Mode mode = PosixFile::Mode::ReadWrite)
    {
        PosixFile file;
        EXPECT_TRUE(file.open(path, mode));
        return SaveJournal::recover(journalPath, file);
    }

    TempDir dir;
    std::string path = dir.file("s.imv");
    std::string journalPath = SaveJournal::pathFor(path);
    SaveJournal journal;
};

} // namespace

TEST_F(SaveJournalTest, AnEditCutOffPartWayIsTakenBack)
{
    EXPECT_EQ(journalPath, fs::canonical(dir.path()).string() + "/s.imv.undo");
    // The first range written, the second not: the process was killed.
    writeFileBytes(path, fileWith("XY", "gh"));
    EXPECT_EQ(recover(), SaveJournal::Recovery::PutBack);
    EXPECT_EQ(readFileBytes(path), fileWith("ab", "gh"));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"s.imv"});

    // Nothing left to do the next time.
    EXPECT_EQ(recover(), SaveJournal::Recovery::NothingToDo);
}

TEST_F(SaveJournalTest, AFinishedOrUnbegunEditIsLeftAsItIs)
{
    writeFileBytes(path, fileWith("XY", "ZW"));
    EXPECT_EQ(recover(), SaveJournal::Recovery::NothingToDo);
    EXPECT_EQ(readFileBytes(path), fileWith("XY", "ZW"));
    EXPECT_FALSE(fs::exists(journalPath));

    writeJournal();
    writeFileBytes(path, fileWith("ab", "gh"));
    EXPECT_EQ(recover(), SaveJournal::Recovery::NothingToDo);
    EXPECT_EQ(readFileBytes(path), fileWith("ab", "gh"));
    EXPECT_FALSE(fs::exists(journalPath));
}

TEST_F(SaveJournalTest, AJournalThatIsNotTheFilesIsNeverApplied)
{
    // The file was changed since: a range holds neither version.
    writeFileBytes(path, fileWith("XY", "qq"));
    EXPECT_EQ(recover(), SaveJournal::Recovery::Stale);
    EXPECT_EQ(readFileBytes(path), fileWith("XY", "qq"));
    EXPECT_FALSE(fs::exists(journalPath));

    // A shorter file than the ranges reach.
    writeJournal();
    writeFileBytes(path, fileWith("XY", "", 1400));
    EXPECT_EQ(recover(), SaveJournal::Recovery::Stale);
    EXPECT_EQ(readFileBytes(path), fileWith("XY", "", 1400));

    // Another file of the same bytes in its place (a copy put back): the
    // journal was written for the file that was there.
    writeFileBytes(path, fileWith("ab", "gh"));
    writeJournal();
    writeFileBytes(dir.file("copy"), fileWith("XY", "gh"));
    fs::rename(dir.file("copy"), path);
    EXPECT_EQ(recover(), SaveJournal::Recovery::Stale);
    EXPECT_EQ(readFileBytes(path), fileWith("XY", "gh"));
}

TEST_F(SaveJournalTest, ADamagedOrForgedJournalIsLeftWhereItIsAndNotApplied)
{
    writeFileBytes(path, fileWith("XY", "gh"));
    auto stored = readFileBytes(journalPath);
    for (const size_t at : {size_t{0}, size_t{20}, stored.size() - 1}) {
        auto damaged = stored;
        damaged[at] ^= 0x40;
        writeFileBytes(journalPath, damaged);
        EXPECT_EQ(recover(), SaveJournal::Recovery::Damaged) << at;
        EXPECT_EQ(readFileBytes(path), fileWith("XY", "gh")) << at;
        EXPECT_TRUE(fs::exists(journalPath)) << at;
    }
    stored.resize(stored.size() - 5);
    writeFileBytes(journalPath, stored);
    EXPECT_EQ(recover(), SaveJournal::Recovery::Damaged);

    // A journal with a right checksum and identity that would write over
    // the survey's magic, outside the header's texts.
    SaveJournal forged;
    forged.add(0, bytesOf("XX"), bytesOf(".."));
    forged.add(10, bytesOf("ab"), bytesOf("XY"));
    writeFileBytes(path, fileWith("XY", "gh"));
    {
        PosixFile file;
        ASSERT_TRUE(file.open(path, PosixFile::Mode::Read));
        ASSERT_TRUE(forged.write(journalPath, *SaveJournal::identityOf(file)));
    }
    EXPECT_EQ(recover(), SaveJournal::Recovery::Damaged);
    EXPECT_EQ(readFileBytes(path), fileWith("XY", "gh"));
}

TEST_F(SaveJournalTest, NothingButAFileUnderTheJournalsNameIsUsedOrWrittenThrough)
{
    const std::string other = dir.file("other.imv");
    writeFileBytes(other, bytesOf("another survey"));
    fs::remove(journalPath);
    fs::create_symlink(other, journalPath);
    PosixFile file;
    ASSERT_TRUE(file.open(path, PosixFile::Mode::ReadWrite));
    int error = 0;
    EXPECT_FALSE(journal.write(journalPath, *SaveJournal::identityOf(file), &error));
    EXPECT_EQ(error, ELOOP);
    EXPECT_EQ(SaveJournal::recover(journalPath, file), SaveJournal::Recovery::NotAFile);
    EXPECT_FALSE(SaveJournal::remove(journalPath));
    EXPECT_EQ(readFileBytes(other), bytesOf("another survey"));
    EXPECT_TRUE(fs::is_symlink(journalPath));

    // A FIFO would block a reader for ever.
    fs::remove(journalPath);
    ASSERT_EQ(::mkfifo(journalPath.c_str(), 0600), 0);
    EXPECT_EQ(SaveJournal::recover(journalPath, file), SaveJournal::Recovery::NotAFile);
    EXPECT_TRUE(SaveJournal::nameIsTaken(journalPath));
    EXPECT_EQ(readFileBytes(path), fileWith("ab", "gh"));
}

TEST_F(SaveJournalTest, AFileThatCannotBeWrittenKeepsItsJournal)
{
    writeFileBytes(path, fileWith("XY", "gh"));
    EXPECT_EQ(recover(PosixFile::Mode::Read), SaveJournal::Recovery::Failed);
    EXPECT_EQ(readFileBytes(path), fileWith("XY", "gh"));
    EXPECT_TRUE(fs::exists(journalPath));
    // Once it can be written, the next open puts it right.
    EXPECT_EQ(recover(), SaveJournal::Recovery::PutBack);
    EXPECT_EQ(readFileBytes(path), fileWith("ab", "gh"));
}

TEST(SaveJournalSurvey, ASaveCutOffPartWayIsTakenBackWhenTheSurveyIsOpened)
{
    TempDir dir;
    const std::string path = dir.file("cut.imv");
    writeSurvey(path, 3);
    const auto before = readFileBytes(path);

    // What a save of frames 0 and 2 leaves when it is killed between them.
    const auto at = [](int frame) { return static_cast<size_t>(frameOffset(frame)); };
    auto edited = before;
    edited[at(0) + 40] ^= 0x11;
    edited[at(2) + 40] ^= 0x22;
    SaveJournal journal;
    for (const int frame : {0, 2})
        journal.add(at(frame), {before.begin() + at(frame), before.begin() + at(frame) + 512},
                    {edited.begin() + at(frame), edited.begin() + at(frame) + 512});
    const auto writeJournal = [&] {
        PosixFile file;
        ASSERT_TRUE(file.open(path, PosixFile::Mode::Read));
        ASSERT_TRUE(journal.write(SaveJournal::pathFor(path), *SaveJournal::identityOf(file)));
    };
    writeJournal();
    auto cut = before;
    cut[at(0) + 40] ^= 0x11;
    writeFileBytes(path, cut);

    RecordingMessageSink messages;
    {
        AnimationDocument document(messages);
        ASSERT_TRUE(document.open(path, nullptr));
        EXPECT_EQ(document.frameCount(), 3);
    }
    EXPECT_EQ(messages.messages, std::vector<int>{text::UnfinishedSaveTakenBack});
    EXPECT_EQ(readFileBytes(path), before);
    EXPECT_FALSE(fs::exists(path + ".undo"));

    // On a medium that cannot be written it opens for reading, as it is,
    // and the user is told the survey may hold part of that save.
    writeJournal();
    writeFileBytes(path, cut);
    const ReadOnlyFile readOnly(path);
    if (!readOnly.isReadOnly())
        GTEST_SKIP() << "files cannot be made read-only here";
    messages.messages.clear();
    AnimationDocument document(messages);
    ASSERT_TRUE(document.open(path, nullptr));
    EXPECT_TRUE(document.isReadOnly());
    EXPECT_EQ(messages.messages, std::vector<int>{text::UnfinishedSaveLeft});
    EXPECT_EQ(readFileBytes(path), cut);
    EXPECT_TRUE(fs::exists(path + ".undo"));
}
