// The batch tool on a survey it may read but not write.

#include "CliRunner.h"
#include "support/ReadOnlyFile.h"

using namespace dorvane::test;

TEST_F(Cli, ReadOnlySurveyIsReadAndCopiedButNeverWritten)
{
    const std::string path = dir.file("ro.Imv");
    ASSERT_EQ(run({"simulate", "-o", path, "--frames", "6", "--seed", "4"}).status, 0);
    const std::string before = slurp(path);
    const ReadOnlyFile readOnly(path);
    if (!readOnly.isReadOnly())
        GTEST_SKIP() << "this file system lets the process write any file";

    EXPECT_EQ(run({"info", path}).status, 0);
    const CliRun frames = run({"frames", path});
    EXPECT_EQ(frames.status, 0);
    EXPECT_EQ(lines(frames.out).size(), 7u); // a title line and six frames
    EXPECT_EQ(run({"render", path, "--frame", "2", "-o", dir.file("f.bmp")}).status, 0);
    EXPECT_EQ(run({"copy", path, dir.file("copy.Imv")}).status, 0);
    EXPECT_EQ(slurp(dir.file("copy.Imv")), before);

    for (const std::vector<std::string> &edit :
         {std::vector<std::string>{"apply", path, "--kind", "2", "--value", "20"},
          std::vector<std::string>{"delete-frame", path, "--frame", "1"}}) {
        const CliRun r = run(edit);
        EXPECT_EQ(r.status, 1) << edit[0];
        EXPECT_EQ(r.err, "文件是只读的，不能保存修改\n") << edit[0];
    }
    EXPECT_EQ(slurp(path), before);
}
