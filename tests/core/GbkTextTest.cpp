#include "core/base/GbkText.h"

#include <gtest/gtest.h>

using namespace dorvane;

namespace {

// Strict UTF-8 check: no stray continuation bytes, no truncated sequences.
bool isValidUtf8(const std::string &s)
{
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const int n = c < 0x80             ? 0
                      : (c & 0xE0) == 0xC0 ? 1
                      : (c & 0xF0) == 0xE0 ? 2
                      : (c & 0xF8) == 0xF0 ? 3
                                           : -1;
        if (n < 0)
            return false;
        for (int k = 1; k <= n; ++k)
            if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += static_cast<size_t>(n) + 1;
    }
    return true;
}

const std::string ZhongWenGbk = "\xD6\xD0\xCE\xC4"; // 中文

} // namespace

TEST(GbkText, ConvertsBothWays)
{
    EXPECT_EQ(gbkToUtf8(ZhongWenGbk), "中文");
    EXPECT_EQ(utf8ToGbk("中文"), ZhongWenGbk);
    EXPECT_EQ(gbkToUtf8("Y12"), "Y12");
    EXPECT_EQ(gbkToUtf8(utf8ToGbk("管道声纳检测系统")), "管道声纳检测系统");
}

TEST(GbkText, TextCutInsideACharacterStaysValidUtf8)
{
    const std::string cut = ZhongWenGbk.substr(0, 3);
    const std::string utf8 = gbkToUtf8(cut);
    EXPECT_EQ(utf8, "中");
    EXPECT_TRUE(isValidUtf8(utf8));
}

TEST(GbkText, BytesThatAreNotGbkBecomeReplacementCharacters)
{
    const std::string odd = std::string("a\x80") + "b\xFF" + "\xD6";
    const std::string utf8 = gbkToUtf8(odd);
    EXPECT_TRUE(isValidUtf8(utf8));
    EXPECT_EQ(utf8.front(), 'a');
    EXPECT_NE(utf8.find("\xEF\xBF\xBD"), std::string::npos);
    EXPECT_NE(utf8.find('b'), std::string::npos);
}

TEST(GbkText, CharactersGbkCannotHoldBecomeQuestionMarks)
{
    EXPECT_EQ(utf8ToGbk("a\xF0\x9F\x98\x80z"), "a?z"); // an emoji
}

TEST(GbkText, FittingNeverCutsACharacter)
{
    const std::string text = "ab" + ZhongWenGbk; // 6 bytes, 4 characters
    EXPECT_EQ(fitGbk(text, 6), text);
    EXPECT_EQ(fitGbk(text, 5), "ab" + ZhongWenGbk.substr(0, 2));
    EXPECT_EQ(fitGbk(text, 3), "ab");
    EXPECT_EQ(fitGbk(text, 0), "");
    EXPECT_EQ(gbkCharacterCount(text), 4u);
}
