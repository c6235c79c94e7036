#include "core/export/WordReport.h"

#include "DocxTestFiles.h"
#include "core/export/ReportContent.h"
#include "core/export/WordProcessor.h"
#include "support/TestSupport.h"

#include <cerrno>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <utility>

using namespace dorvane;
using namespace dorvane::test;

namespace {

const std::string Template = std::string(DORVANE_REPORT_TEMPLATE_DIR) + "/doc.templ";

using Size = std::pair<int, int>;
using Posts = std::vector<std::pair<int, int>>;

// A one-colour picture; its size tells which picture it is.
RgbPicture picture(int width, int height)
{
    return rgbPicture(width, height, [](int, int) { return 0x336699u; });
}

// Texts that say where they belong; the chart 9 x 6, the 3D views 4 x 1 to
// 4 x 4 and frame k 3 x (k + 1).
ReportContent content(int frames)
{
    ReportContent c;
    c.texts.place = "place";
    c.texts.surveyDate = "2026-12-09";
    c.texts.company = "Dorvane";
    for (int k = 0; k < 4; ++k) {
        c.texts.sedimentClasses[static_cast<size_t>(k)].length = "length" + std::to_string(k);
        c.texts.sedimentClasses[static_cast<size_t>(k)].share = "share" + std::to_string(k);
    }
    c.texts.wells = "Y1-Y2";
    c.texts.totalLength = "28.0 m";
    c.texts.averageSediment = "12.3%";
    c.chart = picture(9, 6);
    c.pipeViews = {picture(4, 1), picture(4, 2), picture(4, 3), picture(4, 4)};
    for (int k = 0; k < frames; ++k)
        c.frames.push_back({picture(3, k + 1), "frame " + std::to_string(k)});
    c.noFrames = "no frames";
    return c;
}

class WordReportTest : public ::testing::Test
{
protected:
    WordReportResult fill(const ReportContent &filling, const std::string &templatePath = Template)
    {
        const auto application = startWordProcessor(output);
        return fillWordReport(application.get(), templatePath, output, filling, &progress);
    }

    // The pixel sizes of the pictures in a cell, as their PNG parts say.
    std::vector<Size> picturesIn(pugi::xml_node cell)
    {
        pugi::xml_document rels;
        EXPECT_TRUE(rels.load_string(docx.parts["word/_rels/document.xml.rels"].c_str()));
        std::vector<Size> sizes;
        for (pugi::xml_node blip : elementsNamed(cell, "a:blip")) {
            const pugi::xml_node rel = rels.document_element().find_child_by_attribute(
                "Relationship", "Id", blip.attribute("r:embed").value());
            const std::string &png =
                docx.parts["word/" + std::string(rel.attribute("Target").value())];
            EXPECT_GT(png.size(), 24u);
            if (png.size() <= 24)
                continue;
            const auto number = [&](size_t at) {
                return static_cast<uint8_t>(png[at]) << 24 |
                       static_cast<uint8_t>(png[at + 1]) << 16 |
                       static_cast<uint8_t>(png[at + 2]) << 8 | static_cast<uint8_t>(png[at + 3]);
            };
            sizes.emplace_back(number(16), number(20));
        }
        return sizes;
    }

    // The drawn size in EMU of each picture in a cell.
    static std::vector<Size> extentsIn(pugi::xml_node cell)
    {
        std::vector<Size> extents;
        for (pugi::xml_node drawing : elementsNamed(cell, "wp:inline")) {
            const pugi::xml_node extent = drawing.child("wp:extent");
            extents.emplace_back(extent.attribute("cx").as_int(), extent.attribute("cy").as_int());
        }
        return extents;
    }

    // The frame table's pictures row by row.
    std::vector<std::vector<Size>> frameRows()
    {
        std::vector<std::vector<Size>> rows;
        for (size_t row = 1; row <= rowCount(docx.tables[SonarPic]); ++row) {
            std::vector<Size> pictures;
            for (int column = 1; column <= 3; ++column)
                for (const Size &size :
                     picturesIn(cellAt(docx.tables[SonarPic], static_cast<int>(row), column)))
                    pictures.push_back(size);
            rows.push_back(pictures);
        }
        return rows;
    }

    TempDir dir;
    std::string output = dir.file("report.docx");
    RecordingProgressSink progress;
    DocxXml docx;
};

// 140 points in EMU.
constexpr int Frame = 1778000;

} // namespace

TEST_F(WordReportTest, TextsAndPicturesGoToTheirCells)
{
    const WordReportResult result = fill(content(0));
    ASSERT_EQ(result.outcome, WordReportResult::Written);
    ASSERT_TRUE(loadDocx(output, docx));
    // Without marked frames or defect records, sentences stand for their tables.
    ASSERT_EQ(docx.tables.size(), 5u);
    EXPECT_EQ(textOf(cellAt(docx.tables[Proj], 2, 2)), "place");
    EXPECT_EQ(textOf(cellAt(docx.tables[Proj], 3, 2)), "2026-12-09");
    EXPECT_EQ(textOf(cellAt(docx.tables[Proj], 4, 2)), "Dorvane");
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(textOf(cellAt(docx.tables[Mud], 3 + k, 2)), "length" + std::to_string(k));
        EXPECT_EQ(textOf(cellAt(docx.tables[Mud], 3 + k, 3)), "share" + std::to_string(k));
    }
    EXPECT_EQ(textOf(cellAt(docx.tables[PipeInfo], 2, 1)), "Y1-Y2");
    EXPECT_EQ(textOf(cellAt(docx.tables[PipeInfo], 2, 2)), "28.0 m");
    EXPECT_EQ(textOf(cellAt(docx.tables[PipeInfo], 2, 3)), "12.3%");
    EXPECT_EQ(textOf(cellAt(docx.tables[PipeInfo], 2, 4)), "\u3000");

    // The chart at 450 x 300 points, above its caption.
    const pugi::xml_node chart = cellAt(docx.tables[Mud], 7, 1);
    EXPECT_EQ(picturesIn(chart), std::vector<Size>{Size(9, 6)});
    EXPECT_EQ(extentsIn(chart), std::vector<Size>{Size(5715000, 3810000)});
    EXPECT_EQ(textOf(chart), "\n淤积深度分布图");
    // Centre and outside above, inside and far below, 200 points each.
    for (int p = 0; p < 4; ++p) {
        const pugi::xml_node cell = cellAt(docx.tables[Pipe3D], 1 + p / 2, 1 + p % 2);
        EXPECT_EQ(picturesIn(cell), std::vector<Size>{Size(4, p + 1)}) << p;
        EXPECT_EQ(extentsIn(cell), std::vector<Size>{Size(2540000, 2540000)}) << p;
    }
    EXPECT_NE(docx.parts["word/document.xml"].find("no frames"), std::string::npos);
    EXPECT_EQ(elementsNamed(docx.main, "wp:inline").size(), 5u);
    EXPECT_EQ(progress.posts, (Posts{{10, 100},
                                     {20, 100},
                                     {22, 100},
                                     {30, 100},
                                     {40, 100},
                                     {42, 100},
                                     {44, 100},
                                     {46, 100},
                                     {48, 100},
                                     {50, 100},
                                     {70, 100},
                                     {74, 100},
                                     {80, 100},
                                     {90, 100}}));
}

TEST_F(WordReportTest, TwoMarkedFramesAddAnEmptyRow)
{
    ASSERT_EQ(fill(content(2)).outcome, WordReportResult::Written);
    ASSERT_TRUE(loadDocx(output, docx));
    EXPECT_EQ(frameRows(), (std::vector<std::vector<Size>>{{Size(3, 1), Size(3, 2)}, {}}));
    EXPECT_EQ(extentsIn(cellAt(docx.tables[SonarPic], 1, 2)),
              std::vector<Size>{Size(Frame, Frame)});
    // Each picture above its caption.
    EXPECT_EQ(textOf(cellAt(docx.tables[SonarPic], 1, 2)), "\nframe 1");
    EXPECT_EQ(docx.parts["word/document.xml"].find("no frames"), std::string::npos);
    // After the 3D views' 42..48, the frames share 50 to 70.
    EXPECT_EQ(Posts(progress.posts.begin() + 9, progress.posts.end()),
              (Posts{{50, 100}, {60, 100}, {70, 100}, {70, 100}, {74, 100}, {80, 100}, {90, 100}}));
}

TEST_F(WordReportTest, ThreeMarkedFramesFillARowAndAddAnEmptyOne)
{
    ASSERT_EQ(fill(content(3)).outcome, WordReportResult::Written);
    ASSERT_TRUE(loadDocx(output, docx));
    EXPECT_EQ(frameRows(),
              (std::vector<std::vector<Size>>{{Size(3, 1), Size(3, 2), Size(3, 3)}, {}}));
}

TEST_F(WordReportTest, FourMarkedFramesFillThreeAndOne)
{
    ASSERT_EQ(fill(content(4)).outcome, WordReportResult::Written);
    ASSERT_TRUE(loadDocx(output, docx));
    EXPECT_EQ(frameRows(),
              (std::vector<std::vector<Size>>{{Size(3, 1), Size(3, 2), Size(3, 3)}, {Size(3, 4)}}));
    EXPECT_EQ(extentsIn(cellAt(docx.tables[SonarPic], 2, 1)),
              std::vector<Size>{Size(Frame, Frame)});
}

TEST_F(WordReportTest, ProgressRisesToItsEndWithManyFrames)
{
    // 47 marked frames: 17 passes, 15 full rows, one of two, one empty.
    ASSERT_EQ(fill(content(47)).outcome, WordReportResult::Written);
    ASSERT_TRUE(loadDocx(output, docx));
    EXPECT_EQ(rowCount(docx.tables[SonarPic]), 17u);
    EXPECT_EQ(frameRows()[15].size(), 2u);
    EXPECT_TRUE(frameRows()[16].empty());
    ASSERT_EQ(progress.posts.size(), 10u + 47u + 4u);
    for (size_t k = 1; k < progress.posts.size(); ++k)
        EXPECT_LE(progress.posts[k - 1].first, progress.posts[k].first) << k;
    EXPECT_EQ(progress.posts[10], std::make_pair(50, 100)); // the first frame: 50 + 20 / 47
    EXPECT_EQ(Posts(progress.posts.end() - 5, progress.posts.end()),
              (Posts{{70, 100}, {70, 100}, {74, 100}, {80, 100}, {90, 100}}));
}

TEST_F(WordReportTest, TheConditionSectionHoldsTheSummaryTheRecordsAndTheChart)
{
    ReportContent c = content(1);
    c.assessment.summary = {"12.50 m", "0.785 m³", "1.20 %", "3.40 % (#7)", "2", "0"};
    c.assessment.records = {{"CJ", "沉积", "1", "0.5", "1.00", "2.00", "1.00", "25.0 % (#2)"},
                            {"CJ", "沉积", "2", "2", "3.00", "5.00", "2.00", "39.9 % (#5)"}};
    c.assessment.noRecords = "none";
    c.assessment.chart = picture(8, 3);
    ASSERT_EQ(fill(c).outcome, WordReportResult::Written);
    ASSERT_TRUE(loadDocx(output, docx));
    ASSERT_EQ(docx.tables.size(), 7u);
    for (int row = 1; row <= 6; ++row)
        EXPECT_EQ(textOf(cellAt(docx.tables[Assess], row, 2)),
                  c.assessment.summary[static_cast<size_t>(row - 1)]);
    EXPECT_EQ(picturesIn(cellAt(docx.tables[Assess], 7, 1)), std::vector<Size>{Size(8, 3)});
    ASSERT_EQ(rowCount(docx.tables[Defects]), 3u);
    EXPECT_EQ(textOf(cellAt(docx.tables[Defects], 1, 1)), "代码");
    EXPECT_EQ(textOf(cellAt(docx.tables[Defects], 2, 8)), "25.0 % (#2)");
    EXPECT_EQ(textOf(cellAt(docx.tables[Defects], 3, 5)), "3.00");
    EXPECT_EQ(docx.parts["word/document.xml"].find("none"), std::string::npos);

    // Without records a sentence stands where the table was.
    c.assessment.records.clear();
    c.assessment.noRecords = "没有达到 1 级的缺陷。";
    ASSERT_EQ(fill(c).outcome, WordReportResult::Written);
    ASSERT_TRUE(loadDocx(output, docx));
    ASSERT_EQ(docx.tables.size(), 6u);
    const std::string &main = docx.parts["word/document.xml"];
    EXPECT_NE(main.find("没有达到 1 级的缺陷。"), std::string::npos);
    EXPECT_EQ(main.find("缺陷记录"), std::string::npos);
    EXPECT_EQ(main.find("代码"), std::string::npos);
}

TEST_F(WordReportTest, NoWordProcessor)
{
    EXPECT_EQ(fillWordReport(nullptr, Template, output, content(1), &progress).outcome,
              WordReportResult::CannotStart);
    EXPECT_EQ(progress.posts, (Posts{{10, 100}}));
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(WordReportTest, AReportThatCannotBeSavedSaysWhy)
{
    output = dir.file("absent/report.docx");
    const WordReportResult result = fill(content(1));
    EXPECT_EQ(result.outcome, WordReportResult::Failed);
    EXPECT_EQ(result.systemError, ENOENT);
    EXPECT_EQ(progress.posts.back(), std::make_pair(74, 100));
    EXPECT_TRUE(namesIn(dir.path()).empty());
}

namespace {

// The template with one thing taken out of its main part, and the last
// progress posted before the step that needs it fails.
struct Damage
{
    const char *what;
    std::function<void(pugi::xml_node body, std::vector<pugi::xml_node> &tables)> apply;
    int lastPost;
};

void renameBookmark(pugi::xml_node body, const char *name)
{
    for (pugi::xml_node mark : elementsNamed(body, "w:bookmarkStart"))
        if (std::string(mark.attribute("w:name").value()) == name)
            mark.attribute("w:name") = "gone";
}

void dropLastRow(pugi::xml_node table)
{
    pugi::xml_node last;
    for (pugi::xml_node row : table.children("w:tr"))
        last = row;
    table.remove_child(last);
}

void dropLastColumn(pugi::xml_node table)
{
    for (pugi::xml_node row : table.children("w:tr")) {
        pugi::xml_node last;
        for (pugi::xml_node cell : row.children("w:tc"))
            last = cell;
        row.remove_child(last);
    }
}

using Tables = std::vector<pugi::xml_node>;

const Damage Damages[] = {
    {"no tblProj", [](pugi::xml_node b, Tables &) { renameBookmark(b, "tblProj"); }, 20},
    {"no place cell", [](pugi::xml_node, Tables &t) { dropLastColumn(t[Proj]); }, 20},
    {"no tblMud", [](pugi::xml_node b, Tables &) { renameBookmark(b, "tblMud"); }, 22},
    {"no share column", [](pugi::xml_node, Tables &t) { dropLastColumn(t[Mud]); }, 22},
    {"no chart row", [](pugi::xml_node, Tables &t) { dropLastRow(t[Mud]); }, 22},
    {"no tblPipeInfo", [](pugi::xml_node b, Tables &) { renameBookmark(b, "tblPipeInfo"); }, 30},
    {"no blank cell", [](pugi::xml_node, Tables &t) { dropLastColumn(t[PipeInfo]); }, 30},
    {"no tblPipe3D", [](pugi::xml_node b, Tables &) { renameBookmark(b, "tblPipe3D"); }, 40},
    // The views above are placed, the first one below is not.
    {"no far view", [](pugi::xml_node, Tables &t) { dropLastRow(t[Pipe3D]); }, 44},
    {"no tblSonarPic", [](pugi::xml_node b, Tables &) { renameBookmark(b, "tblSonarPic"); }, 50},
    // Two of the three frames are placed: 50 + 20 * 2 / 3.
    {"two frames a row", [](pugi::xml_node, Tables &t) { dropLastColumn(t[SonarPic]); }, 63},
    {"no tblAssess", [](pugi::xml_node b, Tables &) { renameBookmark(b, "tblAssess"); }, 70},
    {"no summary value", [](pugi::xml_node, Tables &t) { dropLastColumn(t[Assess]); }, 70},
    {"no tblDefects", [](pugi::xml_node b, Tables &) { renameBookmark(b, "tblDefects"); }, 74},
};

} // namespace

TEST_F(WordReportTest, EveryFillingStepThatFailsLeavesNoReport)
{
    const auto parts = readZip(Template, false);
    ASSERT_FALSE(parts.empty());
    for (const Damage &damage : Damages) {
        pugi::xml_document main;
        ASSERT_TRUE(main.load_string(parts.at("word/document.xml").c_str(),
                                     pugi::parse_default | pugi::parse_ws_pcdata_single));
        const pugi::xml_node body = main.child("w:document").child("w:body");
        std::vector<pugi::xml_node> tables;
        for (pugi::xml_node table : body.children("w:tbl"))
            tables.push_back(table);
        ASSERT_EQ(tables.size(), 7u);
        damage.apply(body, tables);
        std::ostringstream xml;
        main.save(xml, "", pugi::format_raw);
        auto damaged = parts;
        damaged["word/document.xml"] = xml.str();
        const std::string broken = dir.file("broken.templ");
        writeZip(broken, damaged);

        progress.posts.clear();
        const WordReportResult result = fill(content(3), broken);
        EXPECT_EQ(result.outcome, WordReportResult::Failed) << damage.what;
        EXPECT_EQ(result.systemError, 0) << damage.what;
        EXPECT_FALSE(std::filesystem::exists(output)) << damage.what;
        EXPECT_EQ(progress.posts.back().first, damage.lastPost) << damage.what;
    }
    // A template that is not there gives no document.
    EXPECT_EQ(fill(content(0), dir.file("absent.templ")).outcome, WordReportResult::Failed);
    EXPECT_FALSE(std::filesystem::exists(output));
}
