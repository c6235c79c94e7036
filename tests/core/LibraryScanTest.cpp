// Scanning the library's folders: only what changed is read, a survey that
// cannot be read is listed with why, and neither a killed scan nor two at
// once leave anything but whole entries.

#include "core/library/LibraryScan.h"

#include "core/assess/GradingTable.h"
#include "core/library/SurveyCatalogue.h"
#include "support/TestSupport.h"

#include <cmath>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace dorvane;
using namespace dorvane::test;

namespace {

std::unique_ptr<SurveyCatalogue> openLibrary(const std::string &db, const std::string &folder)
{
    SilentMessageSink messages;
    auto catalogue = SurveyCatalogue::open(db, messages);
    if (catalogue)
        catalogue->addFolder(folder);
    return catalogue;
}

// Every entry read whole: its frames and its length as the survey gives them.
void expectWholeEntries(const SurveyCatalogue &catalogue, int frames)
{
    for (const CatalogueEntry &e : catalogue.list()) {
        EXPECT_EQ(e.error, "") << e.path;
        EXPECT_EQ(e.figures.frameCount, frames) << e.path;
        EXPECT_NEAR(e.figures.surveyedLengthM,
                    std::fabs(e.figures.lastCableM - e.figures.firstCableM), 1e-4);
    }
}

void writeSurveys(const std::string &folder, int count, int frames)
{
    std::filesystem::create_directories(folder);
    for (int i = 0; i < count; ++i)
        writeSurvey(folder + "/s" + std::to_string(i) + ".Imv", frames,
                    static_cast<uint64_t>(i + 1));
}

} // namespace

TEST(LibraryScan, ReadsOnlyWhatChangedAndDropsWhatIsGone)
{
    TempDir dir;
    const std::string folder = dir.file("surveys");
    std::filesystem::create_directories(folder + "/sub");
    writeSurvey(folder + "/a.Imv", 3, 1);
    writeSurvey(folder + "/sub/b.IMV", 4, 2);
    writeFileBytes(folder + "/c.img", makeImgFile(1000, 12.5f, 40));
    writeFileBytes(folder + "/broken.imv", bytesOf("not a survey"));
    writeFileBytes(folder + "/notes.txt", bytesOf("skipped"));
    std::filesystem::create_directory_symlink(folder, folder + "/sub/loop");
    auto catalogue = openLibrary(dir.file("library.sqlite"), folder);
    ASSERT_TRUE(catalogue);
    const GradingTable grades = GradingTable::standard();

    std::vector<std::pair<int, int>> progress;
    ScanOptions options;
    options.workers = 2;
    options.progress = [&](int done, int total) { progress.emplace_back(done, total); };
    ScanResult r = scanLibrary(*catalogue, grades, options);
    EXPECT_EQ(r.added, 3);
    EXPECT_EQ(r.unreadable, 1);
    EXPECT_EQ(r.unchanged + r.updated + r.removed + r.failed, 0);
    EXPECT_FALSE(r.cancelled);
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{1, 4}, {2, 4}, {3, 4}, {4, 4}}));
    EXPECT_EQ(catalogue->size(), 4);
    EXPECT_EQ(catalogue->entry(folder + "/sub/b.IMV")->figures.frameCount, 4);
    EXPECT_EQ(catalogue->entry(folder + "/c.img")->figures.frameCount, 1);
    const auto broken = catalogue->entry(folder + "/broken.imv");
    ASSERT_TRUE(broken);
    EXPECT_NE(broken->error, "");
    EXPECT_EQ(broken->figures.frameCount, 0);

    writeSurvey(folder + "/a.Imv", 5, 1); // changed
    std::filesystem::remove(folder + "/sub/b.IMV");
    writeSurvey(folder + "/d.Imv", 2, 3);
    r = scanLibrary(*catalogue, grades);
    EXPECT_EQ(r.unchanged, 2); // c.img and the broken one, still listed
    EXPECT_EQ(r.updated, 1);
    EXPECT_EQ(r.removed, 1);
    EXPECT_EQ(r.added, 1);
    EXPECT_EQ(r.unreadable, 0);
    EXPECT_EQ(catalogue->entry(folder + "/a.Imv")->figures.frameCount, 5);
    EXPECT_FALSE(catalogue->entry(folder + "/sub/b.IMV"));

    // A folder that is away (a share not mounted) keeps its entries.
    std::filesystem::rename(folder, dir.file("away"));
    r = scanLibrary(*catalogue, grades);
    EXPECT_EQ(r.removed + r.unchanged, 0);
    EXPECT_EQ(catalogue->size(), 4);

    // A folder taken out takes its entries with it.
    EXPECT_TRUE(catalogue->removeFolder(folder));
    EXPECT_EQ(catalogue->size(), 0);
}

TEST(LibraryScan, CancelStopsBeforeTheNextSurvey)
{
    TempDir dir;
    writeSurveys(dir.file("s"), 12, 2);
    auto catalogue = openLibrary(dir.file("library.sqlite"), dir.file("s"));
    ASSERT_TRUE(catalogue);
    std::atomic<bool> cancel = false;
    ScanOptions options;
    options.workers = 1;
    options.cancel = &cancel;
    options.progress = [&](int done, int) { cancel = done == 2; };
    const ScanResult r = scanLibrary(*catalogue, GradingTable::standard(), options);
    EXPECT_TRUE(r.cancelled);
    // The one worker may have begun the next before it saw the flag.
    EXPECT_GE(r.added, 2);
    EXPECT_LT(r.added, 12);
    EXPECT_EQ(catalogue->size(), r.added);
}

TEST(LibraryScan, KilledScanLeavesOnlyWholeEntries)
{
    TempDir dir;
    const std::string folder = dir.file("s"), db = dir.file("library.sqlite");
    writeSurveys(folder, 24, 6);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto catalogue = openLibrary(db, folder);
        ScanOptions options;
        options.workers = 2;
        // Killed in the middle, with the workers reading the next ones.
        options.progress = [](int done, int) {
            if (done == 9)
                ::kill(::getpid(), SIGKILL);
        };
        if (catalogue)
            scanLibrary(*catalogue, GradingTable::standard(), options);
        ::_exit(3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    auto catalogue = openLibrary(db, folder);
    ASSERT_TRUE(catalogue);
    const int kept = catalogue->size();
    EXPECT_EQ(kept, 9); // each put before its progress
    expectWholeEntries(*catalogue, 6);
    const ScanResult r = scanLibrary(*catalogue, GradingTable::standard());
    EXPECT_EQ(r.unchanged, kept);
    EXPECT_EQ(r.added, 24 - kept);
}

TEST(LibraryScan, TwoProgramsScanningAtOnceBothSucceed)
{
    TempDir dir;
    const std::string folder = dir.file("s"), db = dir.file("library.sqlite");
    writeSurveys(folder, 16, 4);
    pid_t children[2];
    for (pid_t &child : children) {
        child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Each makes the new database as if alone.
            auto catalogue = openLibrary(db, folder);
            const ScanResult r =
                catalogue ? scanLibrary(*catalogue, GradingTable::standard()) : ScanResult{};
            ::_exit(catalogue && r.failed == 0 && r.added + r.unchanged + r.updated == 16 ? 0 : 1);
        }
    }
    for (const pid_t child : children) {
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    auto catalogue = openLibrary(db, folder);
    ASSERT_TRUE(catalogue);
    EXPECT_EQ(catalogue->size(), 16);
    EXPECT_EQ(catalogue->folders().size(), 1u);
    expectWholeEntries(*catalogue, 4);
}
