#include "core/export/ReportTexts.h"

#include "core/base/GbkText.h"
#include "core/document/AnimationDocument.h"
#include "support/TestSupport.h"

#include <functional>
#include <gtest/gtest.h>

using namespace dorvane;
using namespace dorvane::test;

namespace {

using Texts = std::vector<std::string>;

// The texts in the order the template's tables take them.
Texts inTableOrder(const ReportTexts &texts)
{
    Texts all = {texts.place};
    for (const ReportTexts::SedimentClass &sedimentClass : texts.sedimentClasses) {
        all.push_back(sedimentClass.length);
        all.push_back(sedimentClass.share);
    }
    for (const std::string *text :
         {&texts.wells, &texts.totalLength, &texts.averageSediment, &texts.blankCell})
        all.push_back(*text);
    return all;
}

Texts textsOf(const std::vector<float> &lengths, const std::vector<int32_t> &permille, float total,
              int average)
{
    return inTableOrder(
        reportTexts(ReportFigures{"Harbour St", "A1", "B2", lengths, permille, total, average}));
}

// A survey of frames whose file header holds the given texts (GBK).
void writeSurveyWithHeader(const std::string &path, int frames, const char *place,
                           const char *startWell, const char *endWell,
                           const std::function<void(int, FrameHeader &)> &frame = {})
{
    writeSurvey(path, frames);
    SilentMessageSink messages;
    AnimationDocument doc(messages);
    ASSERT_TRUE(doc.open(path, nullptr));
    doc.editFileHeader([&](AnimationFileHeader &h) {
        h.setPlace(place);
        h.setStartWell(startWell);
        h.setEndWell(endWell);
    });
    for (int i = 0; i < frames; ++i) {
        ASSERT_TRUE(doc.loadFrame(i, false));
        if (frame)
            doc.editCurrentHeader([&](FrameHeader &h) { frame(i, h); });
        ASSERT_TRUE(doc.saveCurrent());
    }
}

} // namespace

TEST(SedimentClasses, BoundariesFallIntoTheLowerClass)
{
    // Segments of 1..7 m; frame 0's value takes no part (it has no segment).
    const std::vector<float> lengths = {0, 1, 3, 6, 10, 15, 21, 28};
    const std::vector<int32_t> permille = {999, 104, 105, 304, 305, 704, 705, -1};
    const std::array<float, 4> classes = sedimentClassLengths(lengths, permille);
    EXPECT_EQ(classes[0], 1.0f);
    EXPECT_EQ(classes[1], 5.0f); // 2 + 3
    EXPECT_EQ(classes[2], 9.0f); // 4 + 5
    EXPECT_EQ(classes[3], 6.0f); // the excluded last 7 m are nowhere
}

TEST(SedimentClasses, ValuesAreTakenUnsigned)
{
    // -2 and INT_MIN are huge unsigned: the top class; only -1 is excluded.
    const std::vector<float> lengths = {0, 0.5f, 1.5f, 3.5f, 7.5f};
    const std::vector<int32_t> permille = {0, -2, INT32_MIN, 0, -1};
    const std::array<float, 4> classes = sedimentClassLengths(lengths, permille);
    EXPECT_EQ(classes[0], 2.0f);
    EXPECT_EQ(classes[1], 0.0f);
    EXPECT_EQ(classes[2], 0.0f);
    EXPECT_EQ(classes[3], 1.5f);
}

TEST(SedimentClasses, NoSegmentsNoLength)
{
    const std::array<float, 4> none{};
    EXPECT_EQ(sedimentClassLengths({}, {}), none);
    const std::vector<float> one = {12.5f};
    const std::vector<int32_t> value = {500};
    EXPECT_EQ(sedimentClassLengths(one, value), none);
    // More values than lengths: only the frames that have both count.
    const std::vector<float> two = {1, 2};
    const std::vector<int32_t> three = {0, 0, 0};
    EXPECT_EQ(sedimentClassLengths(two, three)[0], 1.0f);
}

TEST(ReportTexts, InTableOrder)
{
    const std::vector<float> lengths = {0, 1, 3, 6, 10, 15, 21, 28};
    const std::vector<int32_t> permille = {999, 104, 105, 304, 305, 704, 705, -1};
    // Shares of 28 m: 1 -> 3.57, 5 -> 17.86, 9 -> 32.14, 6 -> 21.43.
    const Texts expected = {"Harbour St", "1.0",  "3.6",   "5.0",    "17.9",  "9.0",         "32.1",
                            "6.0",        "21.4", "A1-B2", "28.0 m", "12.3%", "\xE3\x80\x80"};
    EXPECT_EQ(textsOf(lengths, permille, 28.0f, 123), expected);
}

TEST(ReportTexts, OneFrameSurveyIsAllZero)
{
    const Texts expected = {"Harbour St", "0.0", "0.0",   "0.0",   "0.0",  "0.0",         "0.0",
                            "0.0",        "0.0", "A1-B2", "0.0 m", "0.0%", "\xE3\x80\x80"};
    EXPECT_EQ(textsOf({12.5f}, {40}, 0.0f, 0), expected);
}

TEST(ReportTexts, WellsLeftEmptyGiveAnEmptyCell)
{
    const std::vector<float> lengths{1.0f};
    const std::vector<int32_t> permille{0};
    EXPECT_EQ(reportTexts(ReportFigures{"P", "", "", lengths, permille, 0, 0}).wells, "");
    EXPECT_EQ(reportTexts(ReportFigures{"P", "Y1", "", lengths, permille, 0, 0}).wells, "Y1-");
}

TEST(ReportTexts, NoLengthGivesZeroShares)
{
    // Out 2 m and back again: lengths in two classes, a total of 0.
    const Texts texts = textsOf({5, 7, 5}, {0, 50, 400}, 0.0f, 225);
    EXPECT_EQ(texts[1], "2.0");
    EXPECT_EQ(texts[2], "0.0");
    EXPECT_EQ(texts[5], "-2.0");
    EXPECT_EQ(texts[6], "0.0");
    EXPECT_EQ(texts[10], "0.0 m");
    EXPECT_EQ(texts[11], "22.5%");
}

TEST(ReportTexts, AverageIsATenthOfThePermilleValue)
{
    EXPECT_EQ(textsOf({}, {}, 0, 5)[11], "0.5%");
    EXPECT_EQ(textsOf({}, {}, 0, 1000)[11], "100.0%");
    EXPECT_EQ(textsOf({}, {}, 0, 704)[11], "70.4%");
}

TEST(ReportTexts, FromTheSurvey)
{
    TempDir dir;
    const std::string path = dir.file("s.Imv");
    // 人民路, well 井1 and W9, all as GBK in the file.
    const float cable[] = {10.0f, 12.5f, 15.25f};
    writeSurveyWithHeader(path, 3, "\xC8\xCB\xC3\xF1\xC2\xB7",
                          "\xBE\xAE"
                          "1",
                          "W9", [&](int i, FrameHeader &h) {
                              h.cableLength = cable[i];
                              h.pipeRadius = 0; // no pipe, no sediment: per mille 0, class 0
                          });
    SilentMessageSink messages;
    AnimationDocument doc(messages);
    ASSERT_TRUE(doc.open(path, nullptr));
    // 2.5 + 2.75 m, all in class 0; 5.25 is exact and rounds to even.
    const Texts expected = {"\xE4\xBA\xBA\xE6\xB0\x91\xE8\xB7\xAF",
                            "5.2",
                            "100.0",
                            "0.0",
                            "0.0",
                            "0.0",
                            "0.0",
                            "0.0",
                            "0.0",
                            "\xE4\xBA\x95"
                            "1-W9",
                            "5.2 m",
                            "0.0%",
                            "\xE3\x80\x80"};
    EXPECT_EQ(inTableOrder(reportTexts(doc)), expected);
}

TEST(ReportTexts, ControlCharactersOfTheHeaderAreLeftOut)
{
    TempDir dir;
    const std::string path = dir.file("s.Imv");
    writeSurveyWithHeader(path, 1,
                          "Main\x01 St\tNo.\x1F"
                          "5\r\nnorth\x0B",
                          "Y\x07"
                          "1",
                          "\x1BY2");
    SilentMessageSink messages;
    AnimationDocument doc(messages);
    ASSERT_TRUE(doc.open(path, nullptr));
    const ReportTexts texts = reportTexts(doc);
    // Tabs and line breaks are what a document holds too.
    EXPECT_EQ(texts.place, "Main St\tNo.5\r\nnorth");
    EXPECT_EQ(texts.wells, "Y1-Y2");
}

TEST(ReportTexts, DefaultFileName)
{
    std::tm time{};
    time.tm_year = 2024 - 1900;
    time.tm_mon = 1;
    time.tm_mday = 3;
    time.tm_hour = 9;
    time.tm_min = 5;
    time.tm_sec = 7;
    EXPECT_EQ(defaultReportFileName(time), "2024-2-3 090507.docx");
    time.tm_year = 1999 - 1900;
    time.tm_mon = 11;
    time.tm_mday = 31;
    time.tm_hour = 23;
    time.tm_min = 59;
    time.tm_sec = 58;
    EXPECT_EQ(defaultReportFileName(time), "1999-12-31 235958.docx");
}
