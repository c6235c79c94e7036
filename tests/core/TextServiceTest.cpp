#include "core/app/TextService.h"

#include "core/app/BuiltinTexts.h"
#include "core/app/LanguageTable.h"
#include "core/app/ProgramPaths.h"
#include "core/app/Settings.h"
#include "core/app/TextIds.h"
#include "core/base/GbkText.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace dorvane;
using namespace dorvane::test;

namespace {
LanguageTable parse(const std::string &text)
{
    LanguageTable table;
    EXPECT_TRUE(table.load(text));
    return table;
}
} // namespace

TEST(BuiltinTexts, HoldTheProgramsTexts)
{
    EXPECT_EQ(builtinText(text::OpenFileFailed), "打开文件失败");
    EXPECT_EQ(builtinText(text::CreateFileFailed), "创建文件失败 "); // with its blank
    EXPECT_EQ(builtinText(text::PipeTopLine), "管顶线\r\n%dmm");
    EXPECT_EQ(builtinText(text::AboutMenuItem), "关于 Tessiq(&A)...");
    EXPECT_EQ(builtinText(text::ResetCommandFailed), "发送清零命令失败");
    EXPECT_EQ(builtinText(107), ""); // a gap in the table
    EXPECT_EQ(builtinText(-1), "");
    EXPECT_EQ(builtinTextIds().size(), 263u);
}

TEST(LanguageTable, LineParsing)
{
    const LanguageTable t = parse("  176\tOpen failed  \n"
                                  "177\n"
                                  "501 too high\n"
                                  "-3 negative\n"
                                  "\t\t\n"
                                  "178 first\n"
                                  "178 second  wins\r\n"
                                  "junk words here\n"
                                  "450   far out\n");
    EXPECT_EQ(t.text(176), "Open failed");
    EXPECT_EQ(t.text(177), "");
    EXPECT_EQ(t.text(178), "second  wins");
    EXPECT_EQ(t.text(0), "words here"); // read like atoi: "junk" is 0
    EXPECT_EQ(t.text(450), "far out");
    EXPECT_EQ(t.size(), 451u);
    EXPECT_EQ(t.text(501), "");
    EXPECT_EQ(t.text(-3), "");
}

TEST(LanguageTable, StartsWithTwoHundredEntries)
{
    const LanguageTable t = parse("5 five\n");
    EXPECT_EQ(t.size(), 200u);
    EXPECT_EQ(t.text(5), "five");
    EXPECT_EQ(t.text(199), "");
}

TEST(LanguageTable, HostileLinesAreHarmless)
{
    std::string hostile = "300 " + std::string(LanguageTable::MaxLineBytes - 4, 'x') + "\n";
    hostile += "301 \x80\xFF\xD6\n";                  // not GBK, ends mid-character
    hostile += "99999999999999999999 overflow\n";     // atoi would overflow
    hostile += std::string("302 a\0b", 7) + "\n";     // NUL ends the line
    hostile += "303 " + utf8ToGbk("数据采集") + "\n"; // real GBK
    const LanguageTable t = parse(hostile);
    EXPECT_EQ(t.text(300).size(), 65532u);
    EXPECT_FALSE(t.text(301).empty());
    EXPECT_EQ(t.text(302), "a");
    EXPECT_EQ(t.text(303), "数据采集");
    EXPECT_EQ(t.size(), 304u);
}

TEST(TextService, LanguageZeroUsesTheBuiltinTable)
{
    TempDir dir;
    TextService service(dir.path().string() + "/", 0);
    EXPECT_EQ(service.text(text::ImgFileError), "IMG文件错误");
}

TEST(TextService, LanguageFileReplacesEveryTextEvenByNothing)
{
    TempDir dir;
    std::ofstream(dir.file("language.1")) << "178 IMG file error\n";
    TextService service(dir.path().string() + "/", 1);
    EXPECT_EQ(service.text(text::ImgFileError), "IMG file error");
    EXPECT_EQ(service.text(text::OpenFileFailed), ""); // the file lacks 176
    EXPECT_EQ(service.shownLanguage(), 1);
}

TEST(TextService, MissingLanguageFileFallsBackToTheBuiltinTable)
{
    TempDir dir;
    TextService service(dir.path().string() + "/", 2);
    EXPECT_EQ(service.text(text::OpenFileFailed), "打开文件失败");
    // So the Chinese manual goes with the Chinese texts.
    EXPECT_EQ(service.shownLanguage(), 0);
}

TEST(TextService, AnOverlongOrEndlessLanguageFileIsRefusedNamingFileAndLine)
{
    TempDir dir;
    const std::string folder = dir.path().string() + "/";
    const std::string path = folder + "language.1";
    std::ofstream(path) << "178 IMG file error\n179 " << std::string(200000, 'x') << "\n";
    TextService overlong(folder, 1);
    EXPECT_EQ(overlong.text(text::ImgFileError), "IMG文件错误");
    EXPECT_EQ(overlong.shownLanguage(), 0);
    EXPECT_EQ(overlong.problem(), path + ": line 2 is longer than 65536 bytes");

    // Neither a FIFO nor an endless device is waited for or read.
    std::filesystem::remove(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    TextService fifo(folder, 1);
    EXPECT_EQ(fifo.text(text::ImgFileError), "IMG文件错误");
    EXPECT_EQ(fifo.problem(), path + ": not a regular file");
    std::filesystem::remove(path);
    std::filesystem::create_symlink("/dev/zero", path);
    TextService endless(folder, 1);
    EXPECT_EQ(endless.text(text::ImgFileError), "IMG文件错误");
    EXPECT_EQ(endless.problem(), path + ": not a regular file");

    std::filesystem::remove(path);
    std::ofstream(path) << std::string(LanguageTable::MaxFileBytes + 1, '\n');
    TextService large(folder, 1);
    EXPECT_EQ(large.problem(), path + ": larger than 4194304 bytes");
}

TEST(TextService, ShippedEnglishFileCoversEveryText)
{
    TextService english(DORVANE_RESOURCES_DIR "/", 1);
    for (int id : builtinTextIds())
        EXPECT_FALSE(english.text(id).empty()) << "id " << id;
    EXPECT_EQ(english.text(text::OpenFileFailed), "Opening the file failed");
}

TEST(LoadText, TheFirstTextFixesTheLanguageUntilRestart)
{
    // The English file beside the program, so that a switch would show.
    ASSERT_TRUE(std::filesystem::exists(programFolder() + "language.1"));
    const int saved = settings().language;
    settings().language = 0;
    const std::string first = loadText(text::ProgramTitle);
    settings().language = 1;
    const std::string later = loadText(text::ProgramTitle);
    const std::string other = loadText(text::OpenFileFailed);
    settings().language = saved;

    EXPECT_EQ(first, "管道声纳检测系统");
    EXPECT_EQ(later, "管道声纳检测系统");
    EXPECT_EQ(other, "打开文件失败");
}
