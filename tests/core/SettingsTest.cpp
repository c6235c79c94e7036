#include "core/app/Settings.h"

#include "core/base/ByteOrder.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace dorvane;
using namespace dorvane::test;

TEST(Settings, DefaultsAndMissingFile)
{
    TempDir dir;
    Settings s;
    s.load(dir.file("config.dat"));
    EXPECT_EQ(s.playRate, 1);
    EXPECT_EQ(s.showTitle, 0);
    EXPECT_EQ(s.showNotes, 0);
    EXPECT_EQ(s.language, 0);
    EXPECT_EQ(s.tiltAlarm, 1);
}

TEST(Settings, SaveWritesTwentyLittleEndianBytesThatLoadBack)
{
    TempDir dir;
    Settings s;
    s.playRate = 16;
    s.showTitle = 1;
    s.showNotes = 1;
    s.language = 1;
    s.tiltAlarm = 0;
    ASSERT_TRUE(s.save(dir.file("config.dat")));
    const auto bytes = readFileBytes(dir.file("config.dat"));
    ASSERT_EQ(bytes.size(), 20u);
    EXPECT_EQ(le::readI32(&bytes[0]), 16);
    EXPECT_EQ(le::readI32(&bytes[12]), 1);
    EXPECT_EQ(le::readI32(&bytes[16]), 0);

    Settings loaded;
    loaded.load(dir.file("config.dat"));
    EXPECT_EQ(loaded.playRate, 16);
    EXPECT_EQ(loaded.showTitle, 1);
    EXPECT_EQ(loaded.showNotes, 1);
    EXPECT_EQ(loaded.language, 1);
    EXPECT_EQ(loaded.tiltAlarm, 0);
}

TEST(Settings, ShortFileSetsOnlyWhatItCovers)
{
    TempDir dir;
    std::vector<uint8_t> bytes(8, 0);
    le::writeI32(&bytes[0], 4);
    le::writeI32(&bytes[4], 1);
    writeFileBytes(dir.file("config.dat"), bytes);
    Settings s;
    s.load(dir.file("config.dat"));
    EXPECT_EQ(s.playRate, 4);
    EXPECT_EQ(s.showTitle, 1);
    EXPECT_EQ(s.showNotes, 0);
    EXPECT_EQ(s.language, 0);
    EXPECT_EQ(s.tiltAlarm, 1);

    // A partial field replaces just the bytes it holds.
    writeFileBytes(dir.file("config.dat"), {8, 0, 0, 0, 2});
    Settings p;
    p.load(dir.file("config.dat"));
    EXPECT_EQ(p.playRate, 8);
    EXPECT_EQ(p.showTitle, 2);
    EXPECT_EQ(p.tiltAlarm, 1);
}

TEST(Settings, LongOrEmptyFilesAreHarmless)
{
    TempDir dir;
    std::vector<uint8_t> bytes(4096, 0xFF);
    le::writeI32(&bytes[0], 6);
    writeFileBytes(dir.file("config.dat"), bytes);
    Settings s;
    s.load(dir.file("config.dat"));
    EXPECT_EQ(s.playRate, 6);
    EXPECT_EQ(s.tiltAlarm, -1);

    writeFileBytes(dir.file("empty.dat"), {});
    Settings e;
    e.load(dir.file("empty.dat"));
    EXPECT_EQ(e.playRate, 1);
    EXPECT_EQ(e.tiltAlarm, 1);
}

TEST(Settings, FailedSaveIsReportedToTheCallerOnly)
{
    TempDir dir;
    EXPECT_FALSE(Settings{}.save(dir.file("no/such/folder/config.dat")));
}
