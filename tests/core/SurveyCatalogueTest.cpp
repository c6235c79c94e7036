// The library's database: what is put comes back, the query finds by text
// and grade, and a file that is no library of ours is moved aside.

#include "core/library/SurveyCatalogue.h"

#include "core/app/TextIds.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace dorvane;
using namespace dorvane::test;

namespace {

CatalogueEntry entry(const std::string &path, const std::string &place, int deposit,
                     int deformation)
{
    CatalogueEntry e;
    e.path = path;
    e.stamp = {1234, 5'000'000'001, 77};
    e.figures.place = place;
    e.figures.startWell = "Y1";
    e.figures.endWell = "Y2";
    e.figures.frameCount = 10;
    e.figures.worstDepositGrade = deposit;
    e.figures.worstDeformationGrade = deformation;
    return e;
}

std::vector<std::string> pathsOf(const std::vector<CatalogueEntry> &entries)
{
    std::vector<std::string> paths;
    for (const CatalogueEntry &e : entries)
        paths.push_back(e.path);
    return paths;
}

void execute(const std::string &db, const char *sql)
{
    sqlite3 *handle = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &handle), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(handle, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(handle);
}

} // namespace

TEST(SurveyCatalogue, KeepsEntriesAndFindsThemByTextAndGrade)
{
    TempDir dir;
    RecordingMessageSink messages;
    const std::string db = dir.file("deep/folder/library.sqlite");
    auto catalogue = SurveyCatalogue::open(db, messages);
    ASSERT_TRUE(catalogue);
    EXPECT_TRUE(messages.messages.empty());

    CatalogueEntry a = entry("/s/a.Imv", "Harbour Road", 0, 0);
    a.figures.maxSedimentDepthPct = 12.5;
    a.figures.meanCapacityLossPct = 3.25;
    ASSERT_TRUE(catalogue->put(a));
    ASSERT_TRUE(catalogue->put(entry("/s/b.Imv", "50% Lane", 2, 1)));
    ASSERT_TRUE(catalogue->put(entry("/s/c.Imv", "500 Lane", 1, 3)));
    ASSERT_TRUE(catalogue->put(entry("/t/d_1.Imv", "Mill Street", 4, 0)));
    EXPECT_EQ(catalogue->size(), 4);

    const auto back = catalogue->entry("/s/a.Imv");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->stamp, (FileStamp{1234, 5'000'000'001, 77}));
    EXPECT_EQ(back->figures.place, "Harbour Road");
    EXPECT_EQ(back->figures.maxSedimentDepthPct, 12.5);
    EXPECT_EQ(back->figures.meanCapacityLossPct, 3.25);
    EXPECT_FALSE(back->figures.maxCapacityLossPct); // NULL stays absent

    using Paths = std::vector<std::string>;
    EXPECT_EQ(pathsOf(catalogue->list({"HARBOUR", 0})), Paths{"/s/a.Imv"});
    // % and _ are taken as they are.
    EXPECT_EQ(pathsOf(catalogue->list({"50%", 0})), Paths{"/s/b.Imv"});
    EXPECT_EQ(pathsOf(catalogue->list({"d_", 0})), Paths{"/t/d_1.Imv"});
    EXPECT_EQ(pathsOf(catalogue->list({"/s/", 2})), (Paths{"/s/b.Imv", "/s/c.Imv"}));
    EXPECT_EQ(pathsOf(catalogue->list({"", 4})), Paths{"/t/d_1.Imv"});

    // Replacing keeps one entry of the path.
    ASSERT_TRUE(catalogue->put(entry("/s/a.Imv", "Harbour Road", 3, 0)));
    EXPECT_EQ(catalogue->size(), 4);
    EXPECT_EQ(catalogue->entry("/s/a.Imv")->figures.worstGrade(), 3);

    // Folders: absolute and in order; removing one drops only what no other
    // folder holds.
    EXPECT_TRUE(catalogue->addFolder("/s/"));
    EXPECT_TRUE(catalogue->addFolder("/t/../t"));
    EXPECT_FALSE(catalogue->addFolder("/s"));
    EXPECT_EQ(catalogue->folders(), (Paths{"/s", "/t"}));
    EXPECT_TRUE(catalogue->removeFolder("/s"));
    EXPECT_FALSE(catalogue->removeFolder("/s"));
    EXPECT_EQ(pathsOf(catalogue->list()), Paths{"/t/d_1.Imv"});
    EXPECT_TRUE(catalogue->remove("/t/d_1.Imv"));
    EXPECT_FALSE(catalogue->remove("/t/d_1.Imv"));

    // It is all in the file.
    catalogue = SurveyCatalogue::open(db, messages);
    ASSERT_TRUE(catalogue);
    EXPECT_EQ(catalogue->folders(), Paths{"/t"});
}

TEST(SurveyCatalogue, DefaultPathFollowsXdgDataHome)
{
    const char *old = std::getenv("XDG_DATA_HOME");
    const std::string kept = old ? old : "", home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("XDG_DATA_HOME", "/data/me", 1);
    EXPECT_EQ(SurveyCatalogue::defaultPath(), "/data/me/Dorvane/Tessiq/library.sqlite");
    setenv("XDG_DATA_HOME", "relative", 1); // not absolute: ignored
    setenv("HOME", "/home/me", 1);
    EXPECT_EQ(SurveyCatalogue::defaultPath(),
              "/home/me/.local/share/Dorvane/Tessiq/library.sqlite");
    setenv("HOME", home.c_str(), 1);
    if (old)
        setenv("XDG_DATA_HOME", kept.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

TEST(SurveyCatalogue, DamagedOrForeignFileIsMovedAsideAndRebuilt)
{
    TempDir dir;
    const std::string db = dir.file("library.sqlite");
    std::vector<uint8_t> junk(8192);
    for (size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<uint8_t>(i * 131 + 7);
    writeFileBytes(db, junk);

    RecordingMessageSink messages;
    auto catalogue = SurveyCatalogue::open(db, messages);
    ASSERT_TRUE(catalogue);
    ASSERT_EQ(messages.messages, std::vector<int>{text::LibraryRebuilt});
    const std::string aside = messages.details.at(0);
    EXPECT_EQ(aside.rfind(db + ".damaged-", 0), 0u) << aside;
    EXPECT_EQ(aside.size(), db.size() + 24); // ".damaged-YYYYmmdd-HHMMSS"
    EXPECT_EQ(readFileBytes(aside), junk);
    EXPECT_EQ(catalogue->size(), 0);
    EXPECT_TRUE(catalogue->addFolder("/s"));
    catalogue.reset();

    // Another program's SQLite file is not ours to use either.
    const std::string other = dir.file("other.sqlite");
    execute(other, "CREATE TABLE t (x); PRAGMA application_id = 7");
    catalogue = SurveyCatalogue::open(other, messages);
    ASSERT_TRUE(catalogue);
    EXPECT_EQ(messages.messages.back(), text::LibraryRebuilt);
    EXPECT_TRUE(catalogue->folders().empty());
}

TEST(SurveyCatalogue, NewerLibraryIsRefusedAndLeftAlone)
{
    TempDir dir;
    const std::string db = dir.file("library.sqlite");
    RecordingMessageSink messages;
    ASSERT_TRUE(SurveyCatalogue::open(db, messages));
    execute(db, "PRAGMA user_version = 99");
    const auto before = readFileBytes(db);

    EXPECT_FALSE(SurveyCatalogue::open(db, messages));
    EXPECT_EQ(messages.messages, std::vector<int>{text::LibraryUnavailable});
    EXPECT_NE(messages.details.at(0).find("99"), std::string::npos) << messages.details[0];
    EXPECT_EQ(readFileBytes(db), before);
    EXPECT_EQ(namesIn(dir.path()).size(), 1u); // nothing moved aside
}
