#include "core/base/AtomicFile.h"

#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace dorvane;
using namespace dorvane::test;
namespace fs = std::filesystem;

namespace {

class AtomicFileTest : public ::testing::Test
{
protected:
    bool write(AtomicFile &file, const std::string &text)
    {
        return file.file().write(text.data(), text.size());
    }

    TempDir dir;
    std::string path = dir.file("d.bin");
};

} // namespace

TEST_F(AtomicFileTest, TheFileAppearsOnlyWhenCommitted)
{
    AtomicFile file;
    ASSERT_TRUE(file.open(path));
    ASSERT_TRUE(write(file, "abc"));
    // Meanwhile it lives under a name of its own beside the destination.
    const auto names = namesIn(dir.path());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].size(), 23u); // d.bin.tessiq-XXXXXX.tmp
    EXPECT_EQ(names[0].rfind("d.bin.tessiq-", 0), 0u);
    EXPECT_EQ(names[0].substr(19), ".tmp");
    EXPECT_FALSE(fs::exists(path));

    ASSERT_TRUE(file.commit());
    EXPECT_EQ(readFileBytes(path), bytesOf("abc"));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"d.bin"});
}

TEST_F(AtomicFileTest, AFileNotCommittedLeavesTheOldOne)
{
    writeFileBytes(path, bytesOf("old"));
    {
        AtomicFile file;
        ASSERT_TRUE(file.open(path));
        ASSERT_TRUE(write(file, "new"));
    }
    EXPECT_EQ(readFileBytes(path), bytesOf("old"));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"d.bin"});

    AtomicFile file;
    ASSERT_TRUE(file.open(path));
    ASSERT_TRUE(write(file, "new"));
    file.discard();
    EXPECT_FALSE(file.commit());
    EXPECT_EQ(readFileBytes(path), bytesOf("old"));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"d.bin"});
}

TEST_F(AtomicFileTest, AFullDiskLeavesTheOldFileAndNothingElse)
{
    writeFileBytes(path, bytesOf("old"));
    {
        const FullDisk full(4);
        AtomicFile file;
        ASSERT_TRUE(file.open(path));
        EXPECT_FALSE(write(file, "too long"));
    }
    EXPECT_EQ(readFileBytes(path), bytesOf("old"));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"d.bin"});
}

TEST_F(AtomicFileTest, ANewFileTakesTheUsualMode)
{
    const mode_t old = ::umask(027);
    AtomicFile file;
    const bool opened = file.open(path);
    ::umask(old);
    ASSERT_TRUE(opened);
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
}

TEST_F(AtomicFileTest, AReplacedFileKeepsItsModeAndOwner)
{
    writeFileBytes(path, bytesOf("old"));
    fs::permissions(path, fs::perms(0604));
    // Only root can give the file another owner; the mode is kept for anyone.
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), 4321, 4322), 0);
    }
    AtomicFile file;
    ASSERT_TRUE(file.open(path));
    ASSERT_TRUE(write(file, "new"));
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(readFileBytes(path), bytesOf("new"));
    struct stat st
    {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    if (root) {
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 4322u);
    }
}

TEST_F(AtomicFileTest, ALinkStaysALinkToTheReplacedFile)
{
    writeFileBytes(path, bytesOf("old"));
    fs::create_directory(dir.path() / "links");
    const fs::path link = dir.path() / "links" / "l.bin";
    fs::create_symlink(path, link);

    AtomicFile file;
    ASSERT_TRUE(file.open(link.string()));
    ASSERT_TRUE(write(file, "new"));
    // The temporary file sits beside the file it replaces, so the rename
    // stays on its file system.
    EXPECT_EQ(namesIn(dir.path()).size(), 3u); // d.bin, its temporary file, links
    ASSERT_TRUE(file.commit());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), path);
    EXPECT_EQ(readFileBytes(path), bytesOf("new"));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"d.bin", "links"}));
    EXPECT_EQ(namesIn(dir.path() / "links"), std::vector<std::string>{"l.bin"});
}

TEST_F(AtomicFileTest, OnlyRegularFilesAreReplaced)
{
    fs::create_directory(dir.path() / "folder");
    for (const std::string &destination :
         {dir.file("folder"), std::string("/dev/null"), dir.file("missing/d.bin")}) {
        AtomicFile file;
        EXPECT_FALSE(file.open(destination)) << destination;
        EXPECT_FALSE(file.commit()) << destination;
    }
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"folder"});
    EXPECT_TRUE(fs::is_empty(dir.path() / "folder"));
}
