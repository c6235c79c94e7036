#include "core/base/SaveJournal.h"

#include "core/app/TextIds.h"
#include "core/base/PosixFile.h"
#include "core/data/AnimationFile.h"
#include "core/document/AnimationDocument.h"
#include "support/ReadOnlyFile.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace dorvane;
using namespace dorvane::test;
namespace fs = std::filesystem;

namespace {

// A ten-byte file and an edit of two of its ranges: "ab" at 1 becomes
// "XY", "gh" at 6 becomes "ZW".
class SaveJournalTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeFileBytes(path, bytesOf("0ab345gh89"));
        journal.add(1, bytesOf("ab"), bytesOf("XY"));
        journal.add(6, bytesOf("gh"), bytesOf("ZW"));
        ASSERT_TRUE(journal.write(path));
    }

    // Settles the journal as an open of the file would.
    SaveJournal::Recovery recover(PosixFile::Mode mode = PosixFile::Mode::ReadWrite)
    {
        PosixFile file;
        EXPECT_TRUE(file.open(path, mode));
        return SaveJournal::recover(path, file);
    }

    TempDir dir;
    std::string path = dir.file("s.imv");
    std::string journalPath = path + ".undo";
    SaveJournal journal;
};

} // namespace

TEST_F(SaveJournalTest, AnEditCutOffPartWayIsTakenBack)
{
    // The first range written, the second not: the process was killed.
    writeFileBytes(path, bytesOf("0XY345gh89"));
    EXPECT_EQ(recover(), SaveJournal::Recovery::PutBack);
    EXPECT_EQ(readFileBytes(path), bytesOf("0ab345gh89"));
    EXPECT_FALSE(fs::exists(journalPath));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"s.imv"});

    // Nothing left to do the next time.
    EXPECT_EQ(recover(), SaveJournal::Recovery::NothingToDo);
}

TEST_F(SaveJournalTest, AFinishedOrUnbegunEditIsLeftAsItIs)
{
    writeFileBytes(path, bytesOf("0XY345ZW89"));
    EXPECT_EQ(recover(), SaveJournal::Recovery::NothingToDo);
    EXPECT_EQ(readFileBytes(path), bytesOf("0XY345ZW89"));
    EXPECT_FALSE(fs::exists(journalPath));

    ASSERT_TRUE(journal.write(path));
    writeFileBytes(path, bytesOf("0ab345gh89"));
    EXPECT_EQ(recover(), SaveJournal::Recovery::NothingToDo);
    EXPECT_EQ(readFileBytes(path), bytesOf("0ab345gh89"));
    EXPECT_FALSE(fs::exists(journalPath));
}

TEST_F(SaveJournalTest, AJournalThatIsNotTheFilesIsNeverApplied)
{
    // The file was replaced since: a range holds neither version.
    writeFileBytes(path, bytesOf("0XY345qq89"));
    EXPECT_EQ(recover(), SaveJournal::Recovery::Stale);
    EXPECT_EQ(readFileBytes(path), bytesOf("0XY345qq89"));
    EXPECT_FALSE(fs::exists(journalPath));

    // A shorter file than the ranges reach.
    ASSERT_TRUE(journal.write(path));
    writeFileBytes(path, bytesOf("0XY3"));
    EXPECT_EQ(recover(), SaveJournal::Recovery::Stale);
    EXPECT_EQ(readFileBytes(path), bytesOf("0XY3"));

    // A damaged journal, or a file of that name this program did not write,
    // is left where it is and not applied.
    ASSERT_TRUE(journal.write(path));
    writeFileBytes(path, bytesOf("0XY345gh89"));
    auto stored = readFileBytes(journalPath);
    for (const size_t at : {size_t{0}, size_t{20}, stored.size() - 1}) {
        auto damaged = stored;
        damaged[at] ^= 0x40;
        writeFileBytes(journalPath, damaged);
        EXPECT_EQ(recover(), SaveJournal::Recovery::Stale) << at;
        EXPECT_EQ(readFileBytes(path), bytesOf("0XY345gh89")) << at;
        EXPECT_TRUE(fs::exists(journalPath)) << at;
    }
    stored.resize(stored.size() - 5);
    writeFileBytes(journalPath, stored);
    EXPECT_EQ(recover(), SaveJournal::Recovery::Stale);
    EXPECT_EQ(readFileBytes(path), bytesOf("0XY345gh89"));
}

TEST_F(SaveJournalTest, AFileThatCannotBeWrittenKeepsItsJournal)
{
    writeFileBytes(path, bytesOf("0XY345gh89"));
    EXPECT_EQ(recover(PosixFile::Mode::Read), SaveJournal::Recovery::Failed);
    EXPECT_EQ(readFileBytes(path), bytesOf("0XY345gh89"));
    EXPECT_TRUE(fs::exists(journalPath));
    // Once it can be written, the next open puts it right.
    EXPECT_EQ(recover(), SaveJournal::Recovery::PutBack);
    EXPECT_EQ(readFileBytes(path), bytesOf("0ab345gh89"));
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
    ASSERT_TRUE(journal.write(path));
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
    ASSERT_TRUE(journal.write(path));
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
