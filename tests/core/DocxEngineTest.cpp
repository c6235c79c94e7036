#include "DocxTestFiles.h"
#include "core/base/ByteOrder.h"
#include "core/export/WordProcessor.h"
#include "support/ReadOnlyFolder.h"
#include "support/TestSupport.h"

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/resource.h>

using namespace dorvane;
using namespace dorvane::test;
namespace fs = std::filesystem;

namespace {

const std::string ChineseTemplate = std::string(DORVANE_REPORT_TEMPLATE_DIR) + "/doc.templ";
const std::string EnglishTemplate = std::string(DORVANE_REPORT_TEMPLATE_DIR) + "/doc-en.templ";

class DocxEngine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = startWordProcessor(output);
        ASSERT_NE(app, nullptr);
        auto documents = app->documents();
        ASSERT_NE(documents, nullptr);
        document = documents->add(ChineseTemplate);
        ASSERT_NE(document, nullptr);
        bookmarks = document->bookmarks();
        ASSERT_NE(bookmarks, nullptr);
    }

    std::unique_ptr<WordTable> table(const std::string &bookmark)
    {
        auto mark = bookmarks->item(bookmark);
        if (!mark)
            return nullptr;
        auto range = mark->range();
        if (!range)
            return nullptr;
        auto tables = range->tables();
        return tables ? tables->item(1) : nullptr;
    }

    bool setText(WordTable &table, int row, int column, const std::string &text)
    {
        auto cell = table.cell(row, column);
        auto range = cell ? cell->range() : nullptr;
        return range && range->setText(text);
    }

    bool addPicture(WordTable &table, int row, int column, float width, float height)
    {
        auto cell = table.cell(row, column);
        auto range = cell ? cell->range() : nullptr;
        auto shapes = range ? range->inlineShapes() : nullptr;
        auto shape = shapes ? shapes->addPicture(picture) : nullptr;
        return shape && shape->setWidth(width) && shape->setHeight(height);
    }

    TempDir dir;
    std::string output = dir.file("report.docx");
    RgbPicture picture =
        rgbPicture(45, 30, [](int x, int y) { return (x * 5u) << 16 | (y * 8u) << 8; });
    std::unique_ptr<WordApplication> app;
    std::unique_ptr<WordDocument> document;
    std::unique_ptr<WordBookmarks> bookmarks;
};

std::pair<long, long> extentOf(pugi::xml_node drawing)
{
    const pugi::xml_node extent = drawing.child("wp:extent");
    return {extent.attribute("cx").as_llong(), extent.attribute("cy").as_llong()};
}

} // namespace

TEST_F(DocxEngine, FillsTheReportTemplateAsTheReportDoes)
{
    auto proj = table("tblProj");
    auto mud = table("tblMud");
    auto info = table("tblPipeInfo");
    auto views = table("tblPipe3D");
    auto frames = table("tblSonarPic");
    ASSERT_TRUE(proj && mud && info && views && frames);

    EXPECT_TRUE(setText(*proj, 2, 2, "武汉市解放大道 K3+200"));
    const char *classTexts[4][2] = {
        {"12.5", "25.0"}, {"20.0", "40.0"}, {"10.0", "20.0"}, {"7.5", "15.0"}};
    for (int row = 3; row <= 6; ++row)
        for (int column = 2; column <= 3; ++column)
            EXPECT_TRUE(setText(*mud, row, column, classTexts[row - 3][column - 2]));
    EXPECT_TRUE(addPicture(*mud, 7, 1, 450, 300));
    EXPECT_TRUE(setText(*info, 2, 1, "Y12-Y13"));
    EXPECT_TRUE(setText(*info, 2, 2, "50.0 m"));
    EXPECT_TRUE(setText(*info, 2, 3, "23.4%"));
    EXPECT_TRUE(setText(*info, 2, 4, "\u3000"));
    for (int p = 0; p < 4; ++p)
        EXPECT_TRUE(addPicture(*views, 1 + p / 2, 1 + p % 2, 200, 200));
    // Four marked frames: a second row, holding the fourth.
    auto rows = frames->rows();
    ASSERT_NE(rows, nullptr);
    for (int column = 1; column <= 3; ++column)
        EXPECT_TRUE(addPicture(*frames, 1, column, 140, 140));
    EXPECT_NE(rows->add(), nullptr);
    EXPECT_TRUE(addPicture(*frames, 2, 1, 140, 140));

    ASSERT_TRUE(document->saveAs(output));
    EXPECT_TRUE(document->setSaved(true));
    EXPECT_TRUE(document->close());
    EXPECT_TRUE(app->quit());

    DocxXml docx;
    ASSERT_TRUE(loadDocx(output, docx));
    ASSERT_EQ(docx.tables.size(), 7u);
    EXPECT_EQ(textOf(cellAt(docx.tables[Proj], 2, 1)), "检测地点");
    EXPECT_EQ(textOf(cellAt(docx.tables[Proj], 2, 2)), "武汉市解放大道 K3+200");
    EXPECT_EQ(textOf(cellAt(docx.tables[Mud], 3, 1)), "0-10.4%");
    EXPECT_EQ(textOf(cellAt(docx.tables[Mud], 3, 2)), "12.5");
    EXPECT_EQ(textOf(cellAt(docx.tables[Mud], 4, 3)), "40.0");
    EXPECT_EQ(textOf(cellAt(docx.tables[Mud], 6, 1)), ">70.4%");
    EXPECT_EQ(textOf(cellAt(docx.tables[Mud], 6, 2)), "7.5");
    EXPECT_EQ(textOf(cellAt(docx.tables[PipeInfo], 2, 1)), "Y12-Y13");
    EXPECT_EQ(textOf(cellAt(docx.tables[PipeInfo], 2, 3)), "23.4%");
    EXPECT_EQ(textOf(cellAt(docx.tables[PipeInfo], 2, 4)), "\u3000");
    // The template's paragraph style stays on the written cell.
    EXPECT_STREQ(cellAt(docx.tables[Proj], 2, 2)
                     .child("w:p")
                     .child("w:pPr")
                     .child("w:pStyle")
                     .attribute("w:val")
                     .value(),
                 "TableText");

    // The chart at the start of its cell, above the caption.
    const pugi::xml_node chartCell = cellAt(docx.tables[Mud], 7, 1);
    const auto chart = elementsNamed(chartCell.child("w:p"), "wp:inline");
    ASSERT_EQ(chart.size(), 1u);
    EXPECT_EQ(extentOf(chart[0]), std::make_pair(5715000L, 3810000L));
    EXPECT_EQ(textOf(chartCell), "\n淤积深度分布图");
    // The picture's own transform says the same size.
    const pugi::xml_node ext = elementsNamed(chart[0], "a:ext")[0];
    EXPECT_EQ(ext.attribute("cx").as_llong(), 5715000);
    EXPECT_EQ(ext.attribute("cy").as_llong(), 3810000);

    for (int p = 0; p < 4; ++p) {
        const auto drawings =
            elementsNamed(cellAt(docx.tables[Pipe3D], 1 + p / 2, 1 + p % 2), "wp:inline");
        ASSERT_EQ(drawings.size(), 1u);
        EXPECT_EQ(extentOf(drawings[0]), std::make_pair(2540000L, 2540000L));
    }
    ASSERT_EQ(rowCount(docx.tables[SonarPic]), 2u);
    const int framesIn[2][3] = {{1, 1, 1}, {1, 0, 0}};
    for (int row = 1; row <= 2; ++row)
        for (int column = 1; column <= 3; ++column) {
            const auto drawings =
                elementsNamed(cellAt(docx.tables[SonarPic], row, column), "wp:inline");
            ASSERT_EQ(drawings.size(), static_cast<size_t>(framesIn[row - 1][column - 1]));
            if (!drawings.empty()) {
                EXPECT_EQ(extentOf(drawings[0]), std::make_pair(1778000L, 1778000L));
            }
        }

    // Nine pictures, each a PNG part with its relationship and a drawing id
    // of its own.
    const auto drawings = elementsNamed(docx.main, "wp:inline");
    EXPECT_EQ(drawings.size(), 9u);
    pugi::xml_document rels;
    ASSERT_TRUE(rels.load_string(docx.parts["word/_rels/document.xml.rels"].c_str()));
    std::set<std::string> ids;
    for (pugi::xml_node drawing : drawings) {
        ids.insert(drawing.child("wp:docPr").attribute("id").value());
        const std::string id = elementsNamed(drawing, "a:blip")[0].attribute("r:embed").value();
        const pugi::xml_node target =
            rels.document_element().find_child_by_attribute("Relationship", "Id", id.c_str());
        ASSERT_TRUE(target) << id;
        EXPECT_STREQ(target.attribute("Type").value(),
                     "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image");
        const std::string part = "word/" + std::string(target.attribute("Target").value());
        ASSERT_EQ(docx.parts.count(part), 1u) << part;
        EXPECT_EQ(docx.parts[part].substr(0, 8), "\x89PNG\r\n\x1a\n");
    }
    EXPECT_EQ(ids.size(), 9u);
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(docx.parts.count("word/media/image" + std::to_string(n) + ".png"), 1u) << n;
    EXPECT_NE(docx.parts["[Content_Types].xml"].find(
                  "<Default Extension=\"png\" ContentType=\"image/png\"/>"),
              std::string::npos);
    // Still a document of the template's other parts.
    EXPECT_EQ(docx.parts.count("word/styles.xml"), 1u);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"report.docx"}));
}

TEST_F(DocxEngine, APictureComesInAtNinetySixDotsAnInch)
{
    auto views = table("tblPipe3D");
    ASSERT_NE(views, nullptr);
    auto range = views->cell(1, 1)->range();
    auto shapes = range->inlineShapes();
    EXPECT_EQ(shapes->item(1), nullptr);
    ASSERT_NE(shapes->addPicture(picture), nullptr);
    auto first = range->inlineShapes()->item(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(range->inlineShapes()->item(2), nullptr);
    EXPECT_EQ(range->inlineShapes()->item(0), nullptr);
    ASSERT_TRUE(document->saveAs(output));

    DocxXml docx;
    ASSERT_TRUE(loadDocx(output, docx));
    const auto drawings = elementsNamed(cellAt(docx.tables[Pipe3D], 1, 1), "wp:inline");
    ASSERT_EQ(drawings.size(), 1u);
    // 45 x 30 pixels, 9525 EMU each.
    EXPECT_EQ(extentOf(drawings[0]), std::make_pair(428625L, 285750L));

    // Sizes are set one at a time through the first shape of the range.
    EXPECT_TRUE(first->setWidth(100.5f));
    ASSERT_TRUE(document->saveAs(output));
    ASSERT_TRUE(loadDocx(output, docx));
    EXPECT_EQ(extentOf(elementsNamed(cellAt(docx.tables[Pipe3D], 1, 1), "wp:inline")[0]),
              std::make_pair(1276350L, 285750L));
}

TEST_F(DocxEngine, AddedRowsCopyTheLastRowEmpty)
{
    auto frames = table("tblSonarPic");
    ASSERT_NE(frames, nullptr);
    EXPECT_TRUE(addPicture(*frames, 1, 2, 140, 140));
    auto rows = frames->rows();
    EXPECT_NE(rows->add(), nullptr);
    EXPECT_NE(rows->add(), nullptr);
    EXPECT_NE(frames->cell(3, 3), nullptr);
    EXPECT_EQ(frames->cell(4, 1), nullptr);
    EXPECT_EQ(frames->cell(3, 4), nullptr);
    ASSERT_TRUE(document->saveAs(output));

    DocxXml docx;
    ASSERT_TRUE(loadDocx(output, docx));
    const pugi::xml_node sonar = docx.tables[SonarPic];
    ASSERT_EQ(rowCount(sonar), 3u);
    EXPECT_EQ(elementsNamed(sonar, "wp:inline").size(), 1u);
    for (int row = 2; row <= 3; ++row)
        for (int column = 1; column <= 3; ++column) {
            const pugi::xml_node cell = cellAt(sonar, row, column);
            EXPECT_STREQ(cell.child("w:tcPr").child("w:tcW").attribute("w:w").value(),
                         column == 1 ? "3212" : "3213");
            ASSERT_EQ(elementsNamed(cell, "w:p").size(), 1u);
            EXPECT_EQ(elementsNamed(cell, "w:r").size(), 0u);
            EXPECT_STREQ(
                cell.child("w:p").child("w:pPr").child("w:pStyle").attribute("w:val").value(),
                "PictureCell");
        }
}

TEST_F(DocxEngine, CellTextReplacesTheCellKeepingItsFormatting)
{
    const std::string styled = dir.file("styled.docx");
    writeDocx(styled,
              "<w:p><w:bookmarkStart w:id=\"7\" w:name=\"T\"/><w:bookmarkEnd w:id=\"7\"/></w:p>"
              "<w:tbl><w:tr><w:tc><w:tcPr><w:tcW w:w=\"2000\" w:type=\"dxa\"/></w:tcPr>"
              "<w:p><w:pPr><w:jc w:val=\"right\"/></w:pPr><w:r><w:rPr><w:b/><w:sz w:val=\"30\"/>"
              "</w:rPr><w:t>old</w:t></w:r><w:r><w:t>er</w:t></w:r></w:p>"
              "<w:p><w:r><w:t>second</w:t></w:r></w:p></w:tc></w:tr></w:tbl><w:p/>");
    auto styledDocument = app->documents()->add(styled);
    ASSERT_NE(styledDocument, nullptr);
    auto range = styledDocument->bookmarks()->item("t")->range();
    auto cell = range->tables()->item(1)->cell(1, 1)->range();
    ASSERT_TRUE(cell->setText(" a\tb\nc "));
    // Text that is not UTF-8 or holds control characters is refused and
    // changes nothing.
    EXPECT_FALSE(cell->setText("\xff"));
    EXPECT_FALSE(cell->setText("a\x01"));
    EXPECT_FALSE(cell->setText("\xed\xa0\x80")); // a surrogate
    ASSERT_TRUE(styledDocument->saveAs(output));

    DocxXml docx;
    ASSERT_TRUE(loadDocx(output, docx));
    const pugi::xml_node tc = cellAt(docx.tables[0], 1, 1);
    EXPECT_EQ(textOf(tc), " ab\nc ");
    const auto paragraphs = elementsNamed(tc, "w:p");
    ASSERT_EQ(paragraphs.size(), 2u);
    for (pugi::xml_node paragraph : paragraphs) {
        EXPECT_STREQ(paragraph.child("w:pPr").child("w:jc").attribute("w:val").value(), "right");
        const pugi::xml_node run = paragraph.child("w:r");
        EXPECT_TRUE(run.child("w:rPr").child("w:b"));
        EXPECT_STREQ(run.child("w:rPr").child("w:sz").attribute("w:val").value(), "30");
        EXPECT_STREQ(run.child("w:t").attribute("xml:space").value(), "preserve");
    }
    EXPECT_EQ(elementsNamed(paragraphs[0], "w:tab").size(), 1u);
    EXPECT_STREQ(tc.child("w:tcPr").child("w:tcW").attribute("w:w").value(), "2000");
}

TEST_F(DocxEngine, ABookmarksTableIsTheOneInsideOrRightAfterIt)
{
    const std::string marks = dir.file("marks.docx");
    const std::string table = "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>%</w:t></w:r></w:p></w:tc>"
                              "</w:tr></w:tbl>";
    auto tableSaying = [&](const std::string &text) {
        std::string xml = table;
        xml.replace(xml.find('%'), 1, text);
        return xml;
    };
    writeDocx(marks,
              // Around a table.
              "<w:p><w:bookmarkStart w:id=\"1\" w:name=\"around\"/></w:p>" + tableSaying("A") +
                  "<w:p><w:bookmarkEnd w:id=\"1\"/></w:p>"
                  // Before a table.
                  "<w:p><w:bookmarkStart w:id=\"2\" w:name=\"before\"/><w:bookmarkEnd "
                  "w:id=\"2\"/></w:p>" +
                  tableSaying("B") +
                  // Inside a cell.
                  "<w:tbl><w:tr><w:tc><w:p><w:bookmarkStart w:id=\"3\" w:name=\"inside\"/>"
                  "<w:r><w:t>C</w:t></w:r><w:bookmarkEnd w:id=\"3\"/></w:p></w:tc></w:tr></w:tbl>"
                  // Text between the bookmark and the next table.
                  "<w:p><w:bookmarkStart w:id=\"4\" w:name=\"noTable\"/><w:r><w:t>x</w:t></w:r>"
                  "<w:bookmarkEnd w:id=\"4\"/></w:p><w:p/>" +
                  tableSaying("D") +
                  // A start without an end.
                  "<w:p><w:bookmarkStart w:id=\"5\" w:name=\"open\"/></w:p>");
    auto marked = app->documents()->add(marks);
    ASSERT_NE(marked, nullptr);
    auto marksOf = marked->bookmarks();
    auto firstCellText = [&](const std::string &name) -> std::string {
        auto tables = marksOf->item(name)->range()->tables();
        auto found = tables->item(1);
        if (!found)
            return "(none)";
        EXPECT_EQ(tables->item(2), nullptr);
        EXPECT_TRUE(found->cell(1, 1)->range()->setText(name));
        return "ok";
    };
    EXPECT_EQ(firstCellText("around"), "ok");
    EXPECT_EQ(firstCellText("before"), "ok");
    EXPECT_EQ(firstCellText("inside"), "ok");
    EXPECT_EQ(firstCellText("noTable"), "(none)");
    EXPECT_EQ(marksOf->item("open"), nullptr);
    EXPECT_EQ(marksOf->item("missing"), nullptr);
    EXPECT_EQ(marksOf->item(""), nullptr);
    // A bookmark within one paragraph takes a text of its own.
    EXPECT_TRUE(marksOf->item("noTable")->range()->setText("y"));
    EXPECT_FALSE(marksOf->item("around")->range()->setText("y"));
    ASSERT_TRUE(marked->saveAs(output));

    DocxXml docx;
    ASSERT_TRUE(loadDocx(output, docx));
    ASSERT_EQ(docx.tables.size(), 4u);
    EXPECT_EQ(textOf(docx.tables[0]), "around");
    EXPECT_EQ(textOf(docx.tables[1]), "before");
    EXPECT_EQ(textOf(docx.tables[2]), "inside");
    EXPECT_EQ(textOf(docx.tables[3]), "D");
    EXPECT_NE(docx.parts["word/document.xml"].find(
                  "<w:bookmarkStart w:id=\"4\" w:name=\"noTable\"/><w:r><w:t "
                  "xml:space=\"preserve\">y</w:t></w:r><w:bookmarkEnd w:id=\"4\"/>"),
              std::string::npos);
    // A document made from a template is a document.
    EXPECT_NE(docx.parts["[Content_Types].xml"].find("wordprocessingml.document.main+xml"),
              std::string::npos);
    EXPECT_EQ(docx.parts["[Content_Types].xml"].find("template.main"), std::string::npos);
}

TEST_F(DocxEngine, MissingCellsTablesAndPicturesGiveNothing)
{
    auto proj = table("tblProj");
    ASSERT_NE(proj, nullptr);
    EXPECT_EQ(proj->cell(0, 1), nullptr);
    EXPECT_EQ(proj->cell(1, 0), nullptr);
    EXPECT_EQ(proj->cell(5, 1), nullptr);
    EXPECT_EQ(proj->cell(1, 3), nullptr);
    EXPECT_EQ(proj->cell(2, 2)->range()->tables()->item(1), nullptr);
    EXPECT_EQ(bookmarks->item("tblProj")->range()->tables()->item(2), nullptr);
    EXPECT_EQ(bookmarks->item("tblProj")->range()->tables()->item(0), nullptr);
    EXPECT_EQ(bookmarks->item("tblNone"), nullptr);
    // Names are matched as the word processor does, regardless of case.
    EXPECT_NE(bookmarks->item("TBLPROJ"), nullptr);

    auto shapes = proj->cell(2, 2)->range()->inlineShapes();
    EXPECT_EQ(shapes->addPicture(RgbPicture{}), nullptr);
    RgbPicture cut = picture;
    cut.pixels.pop_back();
    EXPECT_EQ(shapes->addPicture(cut), nullptr);
    RgbPicture taller = picture;
    ++taller.height;
    EXPECT_EQ(shapes->addPicture(taller), nullptr);

    auto shape = shapes->addPicture(picture);
    ASSERT_NE(shape, nullptr);
    EXPECT_FALSE(shape->setWidth(0));
    EXPECT_FALSE(shape->setHeight(-1));
    EXPECT_FALSE(shape->setWidth(NAN));
    EXPECT_FALSE(shape->setHeight(INFINITY));
    EXPECT_FALSE(shape->setWidth(1585));
    EXPECT_TRUE(shape->setWidth(1584));
    // Text written over the picture takes it away; its shape is then gone.
    EXPECT_TRUE(proj->cell(2, 2)->range()->setText("x"));
    EXPECT_FALSE(shape->setWidth(10));
    EXPECT_EQ(shapes->item(1), nullptr);
    ASSERT_TRUE(document->saveAs(output));

    // The failed pictures left no parts behind; the one taken away did.
    DocxXml docx;
    ASSERT_TRUE(loadDocx(output, docx));
    EXPECT_EQ(elementsNamed(docx.main, "wp:inline").size(), 0u);
    EXPECT_EQ(docx.parts.count("word/media/image1.png"), 1u);
    EXPECT_EQ(docx.parts.count("word/media/image2.png"), 0u);
}

TEST_F(DocxEngine, AMissingOrBrokenTemplateGivesNoDocument)
{
    auto documents = app->documents();
    EXPECT_EQ(documents->add(dir.file("absent.templ")), nullptr);
    EXPECT_EQ(documents->add(dir.path().string()), nullptr);

    const std::string garbage = dir.file("garbage.templ");
    writeFileBytes(garbage, std::vector<uint8_t>(4096, 0x5A));
    EXPECT_EQ(documents->add(garbage), nullptr);

    // The template cut short.
    const std::string cut = dir.file("cut.templ");
    auto bytes = readFileBytes(ChineseTemplate);
    bytes.resize(bytes.size() / 2);
    writeFileBytes(cut, bytes);
    EXPECT_EQ(documents->add(cut), nullptr);

    // A zip without a document, and one whose text is not XML.
    const std::string empty = dir.file("empty.templ");
    writeZip(empty, {{"readme.txt", "hello"}});
    EXPECT_EQ(documents->add(empty), nullptr);
    auto parts = readZip(ChineseTemplate, false);
    parts["word/document.xml"] = "<w:document><w:body>";
    const std::string broken = dir.file("broken.templ");
    writeZip(broken, parts);
    EXPECT_EQ(documents->add(broken), nullptr);

    EXPECT_NE(documents->add(EnglishTemplate), nullptr);
}

namespace {

// Sets the uncompressed size that the zip archive's central directory
// gives for the part name (the one a reader goes by).
void claimSize(std::vector<uint8_t> &zip, const std::string &name, uint32_t size)
{
    int changed = 0;
    for (size_t at = 0; at + 46 < zip.size(); ++at) {
        if (le::readU32(&zip[at]) != 0x02014b50)
            continue;
        const size_t nameAt = at + 46;
        const uint16_t nameLength = le::readU16(&zip[at + 28]);
        if (nameAt + nameLength <= zip.size() &&
            std::string(zip.begin() + static_cast<std::ptrdiff_t>(nameAt),
                        zip.begin() + static_cast<std::ptrdiff_t>(nameAt + nameLength)) == name) {
            le::writeU32(&zip[at + 24], size);
            ++changed;
        }
    }
    ASSERT_EQ(changed, 1) << name;
}

} // namespace

// A damaged or hostile template whose part claims far more bytes than it
// holds is refused without taking the memory it claims.
TEST_F(DocxEngine, ATemplateWhosePartsClaimHugeSizesIsRefusedCheaply)
{
    const std::string liar = dir.file("liar.templ");
    auto bytes = readFileBytes(ChineseTemplate);
    claimSize(bytes, "word/styles.xml", 60'000'000);
    writeFileBytes(liar, bytes);
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    EXPECT_EQ(app->documents()->add(liar), nullptr);
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 20 * 1024); // in KiB

    // More than any template holds is refused before it is read.
    claimSize(bytes, "word/styles.xml", 600'000'000);
    writeFileBytes(liar, bytes);
    EXPECT_EQ(app->documents()->add(liar), nullptr);
}

TEST_F(DocxEngine, SavingIntoAReadOnlyFolderLeavesNothing)
{
    const fs::path folder = dir.path() / "locked";
    fs::create_directory(folder);
    {
        const ReadOnlyFolder locked(folder.string());
        if (!locked.isReadOnly())
            GTEST_SKIP() << "this process can write into any folder";
        EXPECT_FALSE(document->saveAs((folder / "report.docx").string()));
        // Refused by the folder's mode, or by its immutable flag for root.
        EXPECT_TRUE(document->saveError() == EACCES || document->saveError() == EPERM)
            << document->saveError();
        EXPECT_TRUE(namesIn(folder).empty());
    }
    EXPECT_FALSE(document->saveAs((dir.path() / "absent" / "report.docx").string()));
    EXPECT_EQ(document->saveError(), ENOENT);
}

TEST_F(DocxEngine, AFullDiskLeavesTheOldReport)
{
    writeFileBytes(output, {'o', 'l', 'd'});
    {
        const FullDisk full(2000);
        EXPECT_FALSE(document->saveAs(output));
    }
    EXPECT_EQ(readFileBytes(output), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(document->saveError(), EFBIG); // the file size limit stands for the disk
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"report.docx"}));
    // Other formats need LibreOffice, which this application was not given.
    EXPECT_FALSE(document->saveAs(dir.file("report.pdf")));
    EXPECT_FALSE(document->saveAs(dir.file("report.odt")));
    EXPECT_EQ(document->saveError(), 0);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"report.docx"}));
}

TEST_F(DocxEngine, NothingWorksAfterCloseOrQuit)
{
    auto proj = table("tblProj");
    auto cell = proj->cell(2, 2)->range();
    EXPECT_TRUE(document->setSaved(true));
    EXPECT_TRUE(document->close());
    EXPECT_FALSE(document->close());
    EXPECT_FALSE(document->setSaved(true));
    EXPECT_EQ(document->bookmarks(), nullptr);
    EXPECT_EQ(bookmarks->item("tblProj"), nullptr);
    EXPECT_EQ(proj->cell(2, 2), nullptr);
    EXPECT_EQ(proj->rows(), nullptr);
    EXPECT_FALSE(cell->setText("x"));
    EXPECT_EQ(cell->inlineShapes(), nullptr);
    EXPECT_FALSE(document->saveAs(output));
    EXPECT_FALSE(fs::exists(output));

    auto documents = app->documents();
    auto other = documents->add(ChineseTemplate);
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(app->quit());
    EXPECT_FALSE(app->quit());
    EXPECT_EQ(app->documents(), nullptr);
    EXPECT_EQ(documents->add(ChineseTemplate), nullptr);
    // Quitting closed the document still open.
    EXPECT_EQ(other->bookmarks(), nullptr);
}

TEST(WordProcessorFactory, ChoosesByTheOutputsEnding)
{
    EXPECT_NE(startWordProcessor("/tmp/a.docx"), nullptr);
    EXPECT_NE(startWordProcessor("/tmp/A.DOCX"), nullptr);
    EXPECT_EQ(startWordProcessor("/tmp/a.odt"), nullptr);
    EXPECT_EQ(startWordProcessor("/tmp/docx"), nullptr);
    EXPECT_EQ(startWordProcessor("/tmp/a.docx/report"), nullptr);
}
