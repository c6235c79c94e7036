#include "core/app/Settings.h"

#include "core/app/ProgramPaths.h"
#include "core/base/ByteOrder.h"
#include "support/ReadOnlyFolder.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

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

    // A FIFO is not waited on; a device is not read.
    ASSERT_EQ(::mkfifo(dir.file("fifo.dat").c_str(), 0600), 0);
    Settings f;
    f.load(dir.file("fifo.dat"));
    EXPECT_EQ(f.playRate, 1);
    std::filesystem::create_symlink("/dev/zero", dir.file("zero.dat"));
    Settings z;
    z.load(dir.file("zero.dat"));
    EXPECT_EQ(z.playRate, 1);
}

TEST(Settings, FailedSaveIsReportedToTheCallerOnly)
{
    TempDir dir;
    EXPECT_FALSE(Settings{}.save(dir.file("no/such/folder/config.dat")));
}

// An installed program: its folder holds the defaults but cannot be
// written, so the settings go to the user's own folder, read over them.
TEST(SettingsLocation, AProgramFolderThatCannotBeWrittenKeepsOnlyTheDefaults)
{
    TempDir dir;
    const std::string program = dir.file("program") + "/";
    const std::string user = dir.file("home/.config/Dorvane/Tessiq");
    std::filesystem::create_directories(program);
    Settings defaults;
    defaults.playRate = 8;
    defaults.language = 1;
    ASSERT_TRUE(defaults.save(program + "config.dat"));

    // Writable, as a build folder is: everything stays there.
    EXPECT_EQ(configPathFor(program, user), program + "config.dat");
    EXPECT_EQ(configPathFor(program, ""), program + "config.dat");

    const ReadOnlyFolder readOnly(program);
    if (!readOnly.isReadOnly())
        GTEST_SKIP() << "folders cannot be made read-only here";
    EXPECT_EQ(configPathFor(program, user), user + "/config.dat");
    EXPECT_EQ(configPathFor(program, user + "/"), user + "/config.dat");
    // Without a user folder the save goes to the program folder, and fails.
    EXPECT_EQ(configPathFor(program, ""), program + "config.dat");

    // Nothing saved yet: the program folder's defaults.
    Settings s;
    loadSettingsFrom(s, program, user);
    EXPECT_EQ(s.playRate, 8);
    EXPECT_EQ(s.language, 1);
    EXPECT_EQ(s.tiltAlarm, 1);

    // A user's own file, shorter than the defaults', is read over them.
    std::filesystem::create_directories(user);
    writeFileBytes(user + "/config.dat", {16, 0, 0, 0});
    Settings t;
    loadSettingsFrom(t, program, user);
    EXPECT_EQ(t.playRate, 16);
    EXPECT_EQ(t.language, 1);
}

TEST(SettingsLocation, SavingMakesTheUsersFolder)
{
    TempDir dir;
    const std::string path = dir.file("home/.config/Dorvane/Tessiq/config.dat");
    const Settings before = settings();
    settings().playRate = 4;
    EXPECT_TRUE(saveSettingsTo(path));
    settings() = before;
    const auto bytes = readFileBytes(path);
    ASSERT_EQ(bytes.size(), 20u);
    EXPECT_EQ(le::readI32(&bytes[0]), 4);

    // A file where the folder should be: told to the caller.
    writeFileBytes(dir.file("blocked"), {1});
    EXPECT_FALSE(saveSettingsTo(dir.file("blocked/Tessiq/config.dat")));
}

TEST(Settings, TheUsersFolderFollowsTheDesktopsConfigurationHome)
{
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char *config = std::getenv("XDG_CONFIG_HOME");
    const std::string savedConfig = config ? config : "";
    ::setenv("HOME", "/home/crew", 1);
    ::setenv("XDG_CONFIG_HOME", "/srv/config", 1);
    EXPECT_EQ(defaultUserConfigFolder(), "/srv/config/Dorvane/Tessiq");
    // A relative one is no configuration home.
    ::setenv("XDG_CONFIG_HOME", "config", 1);
    EXPECT_EQ(defaultUserConfigFolder(), "/home/crew/.config/Dorvane/Tessiq");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(defaultUserConfigFolder(), "/home/crew/.config/Dorvane/Tessiq");
    ::setenv("HOME", home.c_str(), 1);
    if (config)
        ::setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
}
