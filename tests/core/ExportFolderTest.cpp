#include "core/export/ExportFolder.h"

#include "core/app/ProgramPaths.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

using namespace dorvane;
using namespace dorvane::test;
namespace fs = std::filesystem;

namespace {

// Points TMPDIR at a folder of the test while it lives.
class ExportFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const char *old = std::getenv("TMPDIR"))
            m_old = old;
        ::setenv("TMPDIR", dir.path().c_str(), 1);
    }
    void TearDown() override
    {
        if (m_old)
            ::setenv("TMPDIR", m_old->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }

    TempDir dir;
    TempDir outside;

private:
    std::optional<std::string> m_old;
};

} // namespace

TEST_F(ExportFolderTest, AFreshPrivateFolderUnderTheTemporaryFolder)
{
    ::umask(0);
    const auto folder = ExportFolder::create();
    ::umask(022);
    ASSERT_TRUE(folder);
    const fs::path path = folder->path();
    EXPECT_EQ(folder->path().back(), '/');
    EXPECT_EQ(path.parent_path().parent_path(), dir.path());
    struct stat st
    {};
    ASSERT_EQ(::lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0700u);

    const auto second = ExportFolder::create();
    ASSERT_TRUE(second);
    EXPECT_NE(second->path(), folder->path());
}

TEST_F(ExportFolderTest, GoesWithEverythingInIt)
{
    std::string path;
    {
        const auto folder = ExportFolder::create();
        ASSERT_TRUE(folder);
        path = folder->path();
        writeFileBytes(path + "0", bytesOf("picture"));
        writeFileBytes(path + "5", bytesOf("picture"));
        fs::create_directories(path + "sub/deeper");
        writeFileBytes(path + "sub/deeper/x", bytesOf("x"));
    }
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{});
}

TEST_F(ExportFolderTest, PlantedLinksAreRemovedNotFollowed)
{
    const std::string target = outside.file("keep.txt");
    writeFileBytes(target, bytesOf("mine"));
    fs::create_directory(outside.file("folder"));
    writeFileBytes(outside.file("folder/inner.txt"), bytesOf("also mine"));
    std::string path;
    {
        const auto folder = ExportFolder::create();
        ASSERT_TRUE(folder);
        path = folder->path();
        fs::create_symlink(target, path + "0");
        fs::create_directory_symlink(outside.file("folder"), path + "1");
        fs::create_symlink(outside.file("nowhere"), path + "2");
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(path)));
    EXPECT_EQ(readFileBytes(target), bytesOf("mine"));
    EXPECT_EQ(readFileBytes(outside.file("folder/inner.txt")), bytesOf("also mine"));
}

TEST_F(ExportFolderTest, NoTemporaryFolderNoExportFolder)
{
    ::setenv("TMPDIR", dir.file("missing").c_str(), 1);
    EXPECT_EQ(ExportFolder::create(), nullptr);
}

TEST(ReportTemplate, BesideTheProgram)
{
    EXPECT_EQ(reportTemplatePath(false), programFolder() + "doc.templ");
    EXPECT_EQ(reportTemplatePath(true), programFolder() + "doc-en.templ");
}
