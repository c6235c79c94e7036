#include "CliRunner.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace dorvane::test;

TEST_F(Cli, LibraryAddScanAndList)
{
    const std::string folder = dir.file("surveys"), db = dir.file("lib/library.sqlite");
    std::filesystem::create_directories(folder);
    writeSurvey(folder + "/a.Imv", 3, 1);
    writeFileBytes(folder + "/bad.img", bytesOf("no image"));

    CliRun r = run({"library", "--db", db, "add", folder});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "unchanged: 0\nadded: 1\nupdated: 0\nremoved: 0\nunreadable: 1\n");
    // --db after the library's command is the same option.
    r = run({"library", "scan", "--db", db});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "unchanged: 2\nadded: 0\nupdated: 0\nremoved: 0\nunreadable: 0\n");

    r = run({"library", "--db", db, "list", "--csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].rfind("path,place,start_well,end_well,frame_count,", 0), 0u);
    EXPECT_EQ(rows[1].rfind(folder + "/a.Imv,", 0), 0u);
    EXPECT_NE(rows[1].find(",3,"), std::string::npos);
    EXPECT_EQ(rows[2].rfind(folder + "/bad.img,,,,0,", 0), 0u);

    r = run({"library", "--db", db, "list", "--json", "--search", "A.IMV"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["folders"], nlohmann::json::array({folder}));
    ASSERT_EQ(json["entries"].size(), 1u);
    EXPECT_EQ(json["entries"][0]["frame_count"], 3);
    EXPECT_TRUE(json["entries"][0]["error"].is_null());

    r = run({"library", "--db", db, "list"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lines(r.out).back(), "2 surveys");

    ASSERT_EQ(run({"library", "--db", db, "remove", folder}).status, 0);
    EXPECT_EQ(lines(run({"library", "--db", db, "list"}).out).back(), "0 surveys");
}

TEST_F(Cli, LibraryFailuresAndBadUsage)
{
    const std::string db = dir.file("library.sqlite");
    CliRun r = run({"library", "--db", db, "remove", dir.file("never")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not a library folder"), std::string::npos) << r.err;
    r = run({"library", "--db", db, "add", dir.file("missing")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not a folder"), std::string::npos) << r.err;
    // The database's folder is a file: no library can be had.
    writeFileBytes(dir.file("plain"), bytesOf("x"));
    EXPECT_EQ(run({"library", "--db", dir.file("plain/library.sqlite"), "scan"}).status, 1);

    EXPECT_EQ(run({"library", "--db", db, "list", "--grade-at-least", "5"}).status, 2);
    EXPECT_EQ(run({"library", "--db", db, "list", "--json", "--csv"}).status, 2);
    EXPECT_EQ(run({"library", "--db", db}).status, 2);
}
