#include "core/document/AnimationDocument.h"

#include "core/app/TextIds.h"
#include "core/base/ByteOrder.h"
#include "support/TestSupport.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

using namespace dorvane;
using namespace dorvane::test;

namespace {

class AnimationDocumentTest : public ::testing::Test
{
protected:
    std::string survey(int frames, uint64_t seed = 1)
    {
        const std::string path = dir.file("survey" + std::to_string(frames) + ".Imv");
        writeSurvey(path, frames, seed);
        return path;
    }

    // Frame i's stored bytes.
    static std::vector<uint8_t> record(const std::vector<uint8_t> &file, int i)
    {
        const auto begin = file.begin() + static_cast<ptrdiff_t>(frameOffset(i));
        return std::vector<uint8_t>(begin, begin + static_cast<ptrdiff_t>(FrameRecord::Size));
    }

    TempDir dir;
    RecordingMessageSink messages;
    RecordingProgressSink progress;
    AnimationDocument doc{messages};
};

} // namespace

TEST_F(AnimationDocumentTest, OpenDerivesEveryFrameAsAFrameByFramePassWould)
{
    const std::string path = survey(37); // more than two reading chunks
    ASSERT_TRUE(doc.open(path, &progress));
    EXPECT_TRUE(doc.isOpen());
    EXPECT_TRUE(doc.hasFile());
    EXPECT_EQ(doc.path(), path);
    EXPECT_EQ(doc.frameCount(), 37);
    EXPECT_EQ(doc.currentIndex(), 36);
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(messages.messages.empty());

    std::vector<std::pair<int, int>> expected = {{0, 37}};
    for (int i = 0; i < 37; ++i)
        expected.emplace_back(i, 37);
    expected.emplace_back(1, 1);
    expected.emplace_back(-1, -1);
    EXPECT_EQ(progress.posts, expected);

    AnimationFile file;
    ASSERT_TRUE(file.open(path, PosixFile::Mode::Read));
    auto frame = std::make_unique<FrameRecord>();
    const DerivedFrames &d = doc.derived();
    for (int i = 0; i < 37; ++i) {
        ASSERT_TRUE(file.readFrame(i, *frame));
        const SedimentResult r = computeSediment(*frame, pipeCentre(frame->header));
        ASSERT_EQ(d.sedimentPermille()[static_cast<size_t>(i)], r.sedimentPermille) << i;
        ASSERT_EQ(d.sedimentDepth()[static_cast<size_t>(i)], r.sedimentDepth) << i;
        ASSERT_EQ(d.peakPixels(i), r.profilePoints) << i;
        ASSERT_TRUE(std::equal(r.radii.begin(), r.radii.end(), d.radiusProfile(i).begin()));
        ASSERT_EQ(d.cableLengths()[static_cast<size_t>(i)], frame->header.cableLength);
        ASSERT_EQ(d.defectFlags()[static_cast<size_t>(i)], frame->header.defectFrame);
    }
    // The last frame read is the current one.
    EXPECT_EQ(doc.current().header.encoded(), frame->header.encoded());
    EXPECT_EQ(doc.current().samples, frame->samples);
    EXPECT_EQ(doc.cableSpan(), d.cableLengths().back() - d.cableLengths().front());
}

TEST_F(AnimationDocumentTest, EveryOpenFailureHasItsMessageAndLeavesTheDocumentClosed)
{
    const auto fails = [&](const std::string &path, int message) {
        messages.messages.clear();
        progress.posts.clear();
        EXPECT_FALSE(doc.open(path, &progress)) << path;
        EXPECT_EQ(messages.messages, std::vector<int>{message}) << path;
        EXPECT_FALSE(doc.isOpen());
        EXPECT_EQ(doc.frameCount(), 0);
        EXPECT_EQ(doc.currentIndex(), -1);
    };
    fails(dir.file("missing.Imv"), text::OpenFileFailed);
    fails(dir.path().string(), text::OpenFileFailed); // a folder

    std::vector<uint8_t> header(1024, 0);
    header[0] = 'I';
    header[1] = 'V';
    writeFileBytes(dir.file("header.Imv"), header);
    fails(dir.file("header.Imv"), text::IllegalFileFormat);
    writeFileBytes(dir.file("short.Imv"), std::vector<uint8_t>(header.begin(), header.end() - 1));
    fails(dir.file("short.Imv"), text::IllegalFileFormat);
    // Too short for a survey, long enough for an IMG file's header.
    writeFileBytes(dir.file("cut.img"), std::vector<uint8_t>(402, 7));
    fails(dir.file("cut.img"), text::ImgFileError);
    writeFileBytes(dir.file("tiny.img"), std::vector<uint8_t>(401, 7));
    fails(dir.file("tiny.img"), text::IllegalFileFormat);

    header.resize(1024 + 100511);
    writeFileBytes(dir.file("partial.Imv"), header);
    fails(dir.file("partial.Imv"), text::FileDataError);

    // A bad frame read by either of the two reading threads.
    const auto good = readFileBytes(survey(20));
    for (const int bad : {5, 18}) {
        auto bytes = good;
        le::writeU16(&bytes[frameOffset(bad)], 0);
        writeFileBytes(dir.file("bad.Imv"), bytes);
        fails(dir.file("bad.Imv"), text::AnimationFrameError);
        EXPECT_EQ(progress.posts.back(), std::make_pair(-1, -1));
        // (0, N), the frames before the bad one, the end.
        EXPECT_EQ(progress.posts.size(), 1u + static_cast<size_t>(bad) + 1u) << bad;
    }

    writeFileBytes(dir.file("junk.img"), std::vector<uint8_t>(3000, 'x'));
    fails(dir.file("junk.img"), text::ImgFileError);
}

TEST_F(AnimationDocumentTest, AHugeSparseSurveyFailsAtItsFirstMissingFrame)
{
    // One frame, then a hole that promises millions of frames of zeros.
    const std::string path = survey(1);
    const uint64_t size = extendSparse(path);
    if (size == 0)
        GTEST_SKIP() << "the filesystem takes no sparse file of 64 GiB";
    const auto start = std::chrono::steady_clock::now();
    bool opened = true;
    EXPECT_NO_THROW(opened = doc.open(path, &progress));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(opened);
    EXPECT_EQ(messages.messages, std::vector<int>{text::AnimationFrameError});
    EXPECT_FALSE(doc.isOpen());
    EXPECT_EQ(doc.frameCount(), 0);
    EXPECT_EQ(doc.derived().size(), 0);
    // (0, N), frame 0, the end: N is what the size promised.
    const int promised = static_cast<int>((size - 1024) / 100512);
    EXPECT_EQ(progress.posts,
              (std::vector<std::pair<int, int>>{{0, promised}, {0, promised}, {-1, -1}}));
    // Reading a few records, not allocating for every promised frame.
    EXPECT_LT(elapsed, std::chrono::seconds(5));
}

TEST_F(AnimationDocumentTest, FailedOpenDropsThePreviousSurvey)
{
    ASSERT_TRUE(doc.open(survey(3), nullptr));
    EXPECT_FALSE(doc.open(dir.file("missing.Imv"), nullptr));
    EXPECT_FALSE(doc.isOpen());
    EXPECT_EQ(doc.derived().size(), 0);
}

TEST_F(AnimationDocumentTest, ImgFileOpensAsAOneFrameSurveyWithoutAFile)
{
    writeFileBytes(dir.file("probe.img"), makeImgFile(1000, 4.5f, 30));
    ASSERT_TRUE(doc.open(dir.file("probe.img"), &progress));
    EXPECT_TRUE(doc.isOpen());
    EXPECT_FALSE(doc.hasFile());
    EXPECT_EQ(doc.path(), "");
    EXPECT_EQ(doc.frameCount(), 1);
    EXPECT_EQ(doc.currentIndex(), 0);
    EXPECT_EQ(doc.fileHeader().magic(), AnimationFileHeader::Magic);
    EXPECT_EQ(doc.derived().cableLengths()[0], 4.5f);
    const std::vector<std::pair<int, int>> expected = {{0, 1}, {0, 1}, {1, 1}, {-1, -1}};
    EXPECT_EQ(progress.posts, expected);

    // Nothing can be written: every writing operation says why.
    EXPECT_TRUE(doc.editCurrentHeader([](FrameHeader &h) { h.setTitle("edited"); }));
    EXPECT_FALSE(doc.saveCurrent());
    EXPECT_FALSE(doc.applyToFrames({BulkEditKind::PipeRadius, 300, {}, 0}, nullptr));
    EXPECT_FALSE(doc.copyAnimation(dir.file("copy.Imv"), nullptr, -1));
    EXPECT_FALSE(doc.deleteCurrentFrame(nullptr));
    EXPECT_EQ(messages.messages, std::vector<int>(4, text::NoAnimationFileBehindData));
    EXPECT_FALSE(std::filesystem::exists(dir.file("copy.Imv")));
    EXPECT_EQ(doc.current().header.titleText(), "edited");
    EXPECT_TRUE(doc.isModified());
    // Discarding brings back the header the file was opened with.
    doc.discardChanges();
    EXPECT_EQ(doc.current().header.titleText(), std::string(28, 'T'));
    EXPECT_FALSE(doc.isModified());
}

TEST_F(AnimationDocumentTest, TrailingBytesAreNeitherReadNorCopied)
{
    auto bytes = readFileBytes(survey(3));
    bytes.insert(bytes.end(), 10, 0xAB);
    writeFileBytes(dir.file("tail.Imv"), bytes);
    ASSERT_TRUE(doc.open(dir.file("tail.Imv"), nullptr));
    EXPECT_EQ(doc.frameCount(), 3);
    ASSERT_TRUE(doc.loadFrame(1, false));
    ASSERT_TRUE(doc.saveCurrent());
    EXPECT_EQ(readFileBytes(dir.file("tail.Imv")), bytes);
    ASSERT_TRUE(doc.copyAnimation(dir.file("copy.Imv"), nullptr, -1));
    EXPECT_EQ(readFileBytes(dir.file("copy.Imv")),
              std::vector<uint8_t>(bytes.begin(), bytes.end() - 10));
}

TEST_F(AnimationDocumentTest, SavingWritesOnlyTheHeadersInPlace)
{
    const std::string path = survey(5);
    const auto before = readFileBytes(path);
    ASSERT_TRUE(doc.open(path, nullptr));
    ASSERT_TRUE(doc.loadFrame(2, false));
    EXPECT_EQ(doc.currentIndex(), 2);
    doc.editCurrentHeader([](FrameHeader &h) {
        h.setTitle("Joint");
        h.defectFrame = 1;
    });
    doc.editFileHeader([](AnimationFileHeader &h) { h.setPlace("Harbour St"); });
    EXPECT_TRUE(doc.isModified());
    ASSERT_TRUE(doc.saveCurrent());
    EXPECT_FALSE(doc.isModified());

    const auto after = readFileBytes(path);
    ASSERT_EQ(after.size(), before.size());
    const auto header = doc.current().header.encoded();
    for (size_t i = 0; i < after.size(); ++i) {
        if (i < 1024)
            ASSERT_EQ(after[i], doc.fileHeader().bytes()[i]);
        else if (i >= frameOffset(2) && i < frameOffset(2) + 512)
            ASSERT_EQ(after[i], header[i - frameOffset(2)]);
        else
            ASSERT_EQ(after[i], before[i]) << "byte " << i;
    }
    EXPECT_NE(before[frameOffset(2) + 72], after[frameOffset(2) + 72]);
}

TEST_F(AnimationDocumentTest, LoadingTheCurrentFrameAgainNeedsForce)
{
    ASSERT_TRUE(doc.open(survey(4), nullptr));
    ASSERT_TRUE(doc.loadFrame(1, false));
    doc.editCurrentHeader([](FrameHeader &h) { h.setTitle("unsaved"); });
    ASSERT_TRUE(doc.loadFrame(1, false));
    EXPECT_EQ(doc.current().header.titleText(), "unsaved");
    ASSERT_TRUE(doc.loadFrame(1, true));
    EXPECT_EQ(doc.current().header.titleText(), "");
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_FALSE(doc.loadFrame(4, false));
    EXPECT_EQ(messages.messages, std::vector<int>{text::ReadFileDataError});
    EXPECT_EQ(doc.currentIndex(), 1);
}

TEST_F(AnimationDocumentTest, OnlyEditsThatChangeAByteMarkTheSurveyModified)
{
    ASSERT_TRUE(doc.open(survey(3), nullptr));
    EXPECT_FALSE(doc.editCurrentHeader([](FrameHeader &h) { h.pipeRadius = 600; }));
    EXPECT_FALSE(doc.editFileHeader([](AnimationFileHeader &) {}));
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(doc.editCurrentHeader([](FrameHeader &h) { h.pipeRadius = 602; }));
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(doc.current().header.pipeRadius, 602);
}

TEST_F(AnimationDocumentTest, DiscardRestoresBothHeadersToTheLastSave)
{
    const std::string path = survey(4);
    ASSERT_TRUE(doc.open(path, nullptr));
    ASSERT_TRUE(doc.loadFrame(1, false));
    doc.editFileHeader([](AnimationFileHeader &h) { h.setPlace("Kept"); });
    doc.editCurrentHeader([](FrameHeader &h) { h.setTitle("kept"); });
    ASSERT_TRUE(doc.saveCurrent());

    doc.editFileHeader([](AnimationFileHeader &h) { h.setPlace("Dropped"); });
    doc.editCurrentHeader([](FrameHeader &h) { h.setTitle("dropped"); });
    doc.discardChanges();
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.fileHeader().place(), "Kept");
    EXPECT_EQ(doc.current().header.titleText(), "kept");

    // A later save writes nothing that was discarded.
    doc.editCurrentHeader([](FrameHeader &h) { h.errorRate = 20; });
    ASSERT_TRUE(doc.saveCurrent());
    const auto bytes = readFileBytes(path);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&bytes[8]), 5), std::string("Kept\0", 5));
}

TEST_F(AnimationDocumentTest, CircleBulkEditsCoverTheirFrameRanges)
{
    for (const BulkEditKind kind : {BulkEditKind::CircleUpTo, BulkEditKind::CircleFrom}) {
        const std::string path = survey(12, 3);
        ASSERT_TRUE(doc.open(path, &progress));
        ASSERT_TRUE(doc.loadFrame(5, true));
        // Pending: saved before the edit.
        doc.editCurrentHeader([](FrameHeader &h) { h.pipeRadius = 420; });
        ASSERT_TRUE(doc.applyToFrames({kind, 5, {260, 240}, 0}, &progress));
        EXPECT_EQ(doc.currentIndex(), 5);
        EXPECT_FALSE(doc.isModified());

        AnimationFile file;
        ASSERT_TRUE(file.open(path, PosixFile::Mode::Read));
        for (int i = 0; i < 12; ++i) {
            FrameHeader h;
            ASSERT_TRUE(file.readFrameHeader(i, h));
            const bool inRange = kind == BulkEditKind::CircleUpTo ? i <= 5 : i >= 5;
            EXPECT_EQ(h.circleOn, inRange ? 1 : 0) << static_cast<int>(kind) << " frame " << i;
            EXPECT_EQ(h.circleX, inRange ? 260 : 250) << static_cast<int>(kind) << " frame " << i;
            EXPECT_EQ(h.circleY, inRange ? 240 : 250) << static_cast<int>(kind) << " frame " << i;
            EXPECT_EQ(h.pipeRadius, inRange ? 420 : 600)
                << static_cast<int>(kind) << " frame " << i;
        }
        // The derived values come from the edited headers.
        EXPECT_EQ(doc.derived().radiusProfile(kind == BulkEditKind::CircleUpTo ? 0 : 11)[400],
                  105u);
        EXPECT_EQ(doc.derived().radiusProfile(kind == BulkEditKind::CircleUpTo ? 11 : 0)[400],
                  150u);
        doc.reset();
    }
}

TEST_F(AnimationDocumentTest, AllFrameBulkEditsAndUnknownKinds)
{
    const std::string path = survey(6);
    ASSERT_TRUE(doc.open(path, nullptr));
    ASSERT_TRUE(doc.loadFrame(0, true));
    ASSERT_TRUE(doc.applyToFrames({BulkEditKind::PipeRadius, 450, {}, 0}, nullptr));
    ASSERT_TRUE(doc.applyToFrames({BulkEditKind::ErrorRate, 33, {}, 0}, nullptr));
    ASSERT_TRUE(doc.applyToFrames({BulkEditKind::ReportShot, 7, {}, 0}, nullptr));
    for (int i = 0; i < 6; ++i) {
        FrameHeader h;
        ASSERT_TRUE(doc.readFrameHeader(i, h));
        EXPECT_EQ(h.pipeRadius, 450);
        EXPECT_EQ(h.errorRate, 33);
        EXPECT_EQ(h.reportShot, 1);
        EXPECT_EQ(doc.derived().reportFlags()[static_cast<size_t>(i)], 1);
        EXPECT_EQ(doc.derived().radiusProfile(i)[401], 33u);
    }
    const auto before = readFileBytes(path);
    progress.posts.clear();
    ASSERT_TRUE(doc.applyToFrames({static_cast<BulkEditKind>(77), 1, {}, 0}, &progress));
    EXPECT_EQ(readFileBytes(path), before);
    // The edit's own pass (each header read, then each written), then the
    // derivation pass.
    EXPECT_EQ(progress.posts.size(), (1u + 12 + 2) + (1 + 6 + 2));
}

TEST_F(AnimationDocumentTest, DeletingFramesReplacesTheFileWhole)
{
    for (const int victim : {0, 3, 6}) {
        const std::string path = survey(7, 9);
        const auto before = readFileBytes(path);
        ASSERT_TRUE(doc.open(path, nullptr));
        ASSERT_TRUE(doc.loadFrame(victim, true));
        ASSERT_TRUE(doc.deleteCurrentFrame(&progress));
        EXPECT_FALSE(doc.isOpen()); // the caller opens the file again
        EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

        const auto after = readFileBytes(path);
        ASSERT_EQ(after.size(), before.size() - FrameRecord::Size);
        for (int i = 0, j = 0; i < 7; ++i) {
            if (i == victim)
                continue;
            ASSERT_EQ(record(after, j++), record(before, i)) << "frame " << i;
        }
        ASSERT_TRUE(doc.open(path, nullptr));
        EXPECT_EQ(doc.frameCount(), 6);
        doc.reset();
    }
}

TEST_F(AnimationDocumentTest, DeletingTheOnlyFrameLeavesAHeaderThatNoLongerOpens)
{
    const std::string path = survey(1);
    ASSERT_TRUE(doc.open(path, nullptr));
    ASSERT_TRUE(doc.deleteCurrentFrame(nullptr));
    EXPECT_EQ(readFileBytes(path).size(), 1024u);
    EXPECT_FALSE(doc.open(path, nullptr));
    EXPECT_EQ(messages.messages, std::vector<int>{text::IllegalFileFormat});
}

TEST_F(AnimationDocumentTest, FailedDeletionLeavesTheSurveyAndNothingElse)
{
    const std::string path = survey(3);
    const auto before = readFileBytes(path);
    ASSERT_TRUE(doc.open(path, nullptr));
    ASSERT_TRUE(doc.loadFrame(1, true));
    {
        const FullDisk full(150000); // the header and one frame of the copy fit
        EXPECT_FALSE(doc.deleteCurrentFrame(nullptr));
    }
    EXPECT_EQ(messages.messages, std::vector<int>{text::SaveFileFailed});
    EXPECT_EQ(readFileBytes(path), before);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"survey3.Imv"});
    EXPECT_TRUE(doc.isOpen());
    EXPECT_EQ(doc.currentIndex(), 1);
}

TEST_F(AnimationDocumentTest, FailedSaveAsLeavesNoFile)
{
    const std::string path = survey(3);
    ASSERT_TRUE(doc.open(path, nullptr));
    {
        const FullDisk full(150000);
        EXPECT_FALSE(doc.copyAnimation(dir.file("copy.Imv"), nullptr, -1));
    }
    EXPECT_EQ(messages.messages, std::vector<int>{text::SaveFileFailed});
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"survey3.Imv"});
}

TEST_F(AnimationDocumentTest, SaveAsOntoTheOpenFileIsRefused)
{
    const std::string path = survey(2);
    const auto before = readFileBytes(path);
    ASSERT_TRUE(doc.open(path, nullptr));
    std::filesystem::create_directory(dir.file("sub"));
    std::filesystem::create_symlink(path, dir.file("link.Imv"));
    std::filesystem::create_hard_link(path, dir.file("hard.Imv"));
    for (const std::string &same :
         {path, dir.file("sub/../" + std::filesystem::path(path).filename().string()),
          dir.file("link.Imv"), dir.file("hard.Imv")}) {
        messages.messages.clear();
        EXPECT_FALSE(doc.copyAnimation(same, nullptr, -1)) << same;
        EXPECT_EQ(messages.messages, std::vector<int>{text::CannotSaveOverOpenFile});
        EXPECT_EQ(readFileBytes(path), before);
    }
    EXPECT_TRUE(doc.copyAnimation(dir.file("other.Imv"), nullptr, -1));
    EXPECT_EQ(readFileBytes(dir.file("other.Imv")), before);
    EXPECT_EQ(doc.path(), path); // the document stays on its file
}

TEST(DerivedFrames, AverageSedimentSkipsExcludedFramesButCountsZeros)
{
    DerivedFrames d;
    EXPECT_EQ(d.averageSediment(), 0);
    d.resize(4);
    FrameHeader h;
    FrameAnalysis a;
    a.sedimentPermille = -1;
    d.store(0, h, a);
    a.sedimentPermille = 0;
    d.store(1, h, a);
    a.sedimentPermille = 11;
    d.store(2, h, a);
    a.sedimentPermille = 10;
    d.store(3, h, a);
    EXPECT_EQ(d.averageSediment(), 7); // 21 / 3, truncated
    d.resize(1);
    d.store(0, h, FrameAnalysis{{}, {}, -1, -1});
    EXPECT_EQ(d.averageSediment(), 0);
}
