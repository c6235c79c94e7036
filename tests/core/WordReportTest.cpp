#include "core/export/WordReport.h"

#include "core/base/ProgressSink.h"
#include "core/export/WordObjects.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace dorvane;

namespace {

using Calls = std::vector<std::string>;

// Writes down every call into the object model and every progress post, in
// order, and makes the call numbered failAt (counted from 0, progress posts
// not counted) fail.
struct Recorder
{
    bool call(const std::string &what)
    {
        log.push_back(what);
        return callCount++ != failAt;
    }

    Calls log;
    int callCount = 0;
    int failAt = -1;
    // Objects handed out and not yet released.
    int live = 0;
};

class Recorded
{
public:
    explicit Recorded(Recorder &recorder) : r(recorder) { ++r.live; }
    ~Recorded() { --r.live; }
    Recorded(const Recorded &) = delete;
    Recorded &operator=(const Recorded &) = delete;

protected:
    template<typename T>
    std::unique_ptr<T> make(const std::string &what)
    {
        return r.call(what) ? std::make_unique<T>(r) : nullptr;
    }

    Recorder &r;
};

std::string number(float value)
{
    return std::to_string(static_cast<int>(value));
}

class Shape : public WordInlineShape, Recorded
{
public:
    using Recorded::Recorded;
    bool setWidth(float points) override { return r.call("shape.width " + number(points)); }
    bool setHeight(float points) override { return r.call("shape.height " + number(points)); }
};

class Shapes : public WordInlineShapes, Recorded
{
public:
    using Recorded::Recorded;
    std::unique_ptr<WordInlineShape> item(int index) override
    {
        return make<Shape>("shapes.item " + std::to_string(index));
    }
    std::unique_ptr<WordInlineShape> addPicture(const std::string &path) override
    {
        return make<Shape>("shapes.addPicture " + path);
    }
};

class Tables;

class Range : public WordRange, Recorded
{
public:
    using Recorded::Recorded;
    bool setText(const std::string &text) override { return r.call("range.text " + text); }
    std::unique_ptr<WordTables> tables() override;
    std::unique_ptr<WordInlineShapes> inlineShapes() override
    {
        return make<Shapes>("range.inlineShapes");
    }
};

class Cell : public WordCell, Recorded
{
public:
    using Recorded::Recorded;
    std::unique_ptr<WordRange> range() override { return make<Range>("cell.range"); }
};

class Row : public WordRow, Recorded
{
public:
    using Recorded::Recorded;
};

class Rows : public WordRows, Recorded
{
public:
    using Recorded::Recorded;
    std::unique_ptr<WordRow> add() override { return make<Row>("rows.add"); }
};

class Table : public WordTable, Recorded
{
public:
    using Recorded::Recorded;
    std::unique_ptr<WordRows> rows() override { return make<Rows>("table.rows"); }
    std::unique_ptr<WordCell> cell(int row, int column) override
    {
        return make<Cell>("table.cell " + std::to_string(row) + " " + std::to_string(column));
    }
};

class Tables : public WordTables, Recorded
{
public:
    using Recorded::Recorded;
    std::unique_ptr<WordTable> item(int index) override
    {
        return make<Table>("tables.item " + std::to_string(index));
    }
};

std::unique_ptr<WordTables> Range::tables()
{
    return make<Tables>("range.tables");
}

class Bookmark : public WordBookmark, Recorded
{
public:
    using Recorded::Recorded;
    std::unique_ptr<WordRange> range() override { return make<Range>("bookmark.range"); }
};

class Bookmarks : public WordBookmarks, Recorded
{
public:
    using Recorded::Recorded;
    std::unique_ptr<WordBookmark> item(const std::string &name) override
    {
        return make<Bookmark>("bookmarks.item " + name);
    }
};

class Document : public WordDocument, Recorded
{
public:
    using Recorded::Recorded;
    std::unique_ptr<WordBookmarks> bookmarks() override
    {
        return make<Bookmarks>("document.bookmarks");
    }
    bool saveAs(const std::string &path) override { return r.call("document.saveAs " + path); }
    bool setSaved(bool saved) override
    {
        return r.call(std::string("document.saved ") + (saved ? "true" : "false"));
    }
    bool close() override { return r.call("document.close"); }
};

class Documents : public WordDocuments, Recorded
{
public:
    using Recorded::Recorded;
    std::unique_ptr<WordDocument> add(const std::string &templatePath) override
    {
        return make<Document>("documents.add " + templatePath);
    }
};

class Application : public WordApplication
{
public:
    explicit Application(Recorder &recorder) : r(recorder) {}
    std::unique_ptr<WordDocuments> documents() override
    {
        return r.call("app.documents") ? std::make_unique<Documents>(r) : nullptr;
    }
    bool quit() override { return r.call("app.quit"); }

private:
    Recorder &r;
};

class Progress final : public ProgressSink
{
public:
    explicit Progress(Recorder &recorder) : r(recorder) {}
    void postProgress(int done, int total) override
    {
        r.log.push_back("progress " + std::to_string(done) + "/" + std::to_string(total));
    }

private:
    Recorder &r;
};

Calls operator+(Calls a, const Calls &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Calls table(const std::string &bookmark)
{
    return {"document.bookmarks", "bookmarks.item " + bookmark, "bookmark.range", "range.tables",
            "tables.item 1"};
}

Calls text(const std::string &cell, const std::string &value)
{
    return {"table.cell " + cell, "cell.range", "range.text " + value};
}

Calls picture(const std::string &cell, const std::string &path, const std::string &size)
{
    return {"table.cell " + cell,        "cell.range",          "range.inlineShapes",
            "shapes.addPicture " + path, "shape.width " + size, "shape.height " + size};
}

// Everything up to the frame pictures' rows collection.
const Calls Start =
    Calls{"progress 10/100", "app.documents", "documents.add /x/template", "progress 20/100"} +
    table("tblProj") + text("2 2", "t0") + Calls{"progress 22/100"} + table("tblMud") +
    text("3 2", "t1") + text("3 3", "t2") + text("4 2", "t3") + text("4 3", "t4") +
    text("5 2", "t5") + text("5 3", "t6") + text("6 2", "t7") + text("6 3", "t8") +
    Calls{"table.cell 7 1", "cell.range",      "range.inlineShapes", "shapes.addPicture /x/0",
          "shapes.item 1",  "shape.width 450", "shape.height 300",   "progress 30/100"} +
    table("tblPipeInfo") + text("2 1", "t9") + text("2 2", "t10") + text("2 3", "t11") +
    text("2 4", "t12") + Calls{"progress 40/100"} + table("tblPipe3D") +
    picture("1 1", "/x/1", "200") + Calls{"progress 32/100"} + picture("1 2", "/x/2", "200") +
    Calls{"progress 33/100"} + picture("2 1", "/x/3", "200") + Calls{"progress 34/100"} +
    picture("2 2", "/x/4", "200") + Calls{"progress 35/100"} + Calls{"progress 50/100"} +
    table("tblSonarPic") + Calls{"table.rows"};

const Calls Finish = {"progress 70/100", "document.saveAs /x/out.docx",
                      "progress 80/100", "document.saved true",
                      "document.close",  "app.quit",
                      "progress 90/100"};

std::vector<std::string> pictures(int count)
{
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i)
        paths.push_back("/x/" + std::to_string(i));
    return paths;
}

const std::vector<std::string> Texts = {"t0", "t1", "t2", "t3",  "t4",  "t5", "t6",
                                        "t7", "t8", "t9", "t10", "t11", "t12"};

class WordReportTest : public ::testing::Test
{
protected:
    WordReportResult fill(int pictureCount)
    {
        Application application(recorder);
        Progress progress(recorder);
        const WordReportResult result = fillWordReport(&application, "/x/template", "/x/out.docx",
                                                       pictures(pictureCount), Texts, &progress);
        EXPECT_EQ(recorder.live, 0) << "every object is released";
        return result;
    }

    Recorder recorder;
};

} // namespace

TEST_F(WordReportTest, NoMarkedFrameLeavesTheFirstRowEmpty)
{
    EXPECT_EQ(fill(5), WordReportResult::Written);
    EXPECT_EQ(recorder.log, Start + Finish);
}

TEST_F(WordReportTest, TwoMarkedFramesAddAnEmptyRow)
{
    EXPECT_EQ(fill(7), WordReportResult::Written);
    EXPECT_EQ(recorder.log,
              (Start + picture("1 1", "/x/5", "140") + Calls{"progress 56/100"} +
               picture("1 2", "/x/6", "140") + Calls{"progress 57/100", "rows.add"} + Finish));
}

TEST_F(WordReportTest, ThreeMarkedFramesFillARowAndAddAnEmptyOne)
{
    EXPECT_EQ(fill(8), WordReportResult::Written);
    EXPECT_EQ(recorder.log,
              (Start + picture("1 1", "/x/5", "140") + Calls{"progress 56/100"} +
               picture("1 2", "/x/6", "140") + Calls{"progress 57/100"} +
               picture("1 3", "/x/7", "140") + Calls{"progress 58/100", "rows.add"} + Finish));
}

TEST_F(WordReportTest, FourMarkedFramesFillThreeAndOne)
{
    EXPECT_EQ(fill(9), WordReportResult::Written);
    EXPECT_EQ(recorder.log, (Start + picture("1 1", "/x/5", "140") + Calls{"progress 56/100"} +
                             picture("1 2", "/x/6", "140") + Calls{"progress 57/100"} +
                             picture("1 3", "/x/7", "140") + Calls{"progress 58/100", "rows.add"} +
                             picture("2 1", "/x/8", "140") + Calls{"progress 59/100"} + Finish));
}

TEST_F(WordReportTest, ProgressStopsAtItsTotal)
{
    // 47 marked frames, pictures 5..51: picture 49 reaches 100, pictures 50
    // and 51 would pass it. 17 passes: 15 full rows, one of two, one empty.
    EXPECT_EQ(fill(52), WordReportResult::Written);
    Calls posts;
    int rowsAdded = 0;
    for (const std::string &entry : recorder.log) {
        if (entry.starts_with("progress "))
            posts.push_back(entry);
        rowsAdded += entry == "rows.add";
    }
    EXPECT_EQ(rowsAdded, 16);
    EXPECT_EQ(Calls(posts.end() - 8, posts.end()),
              (Calls{"progress 98/100", "progress 99/100", "progress 100/100", "progress 100/100",
                     "progress 100/100", "progress 70/100", "progress 80/100", "progress 90/100"}));
}

TEST_F(WordReportTest, NoWordProcessor)
{
    Progress progress(recorder);
    EXPECT_EQ(fillWordReport(nullptr, "/x/template", "/x/out.docx", pictures(5), Texts, &progress),
              WordReportResult::CannotStart);
    EXPECT_EQ(recorder.log, Calls{"progress 10/100"});
}

TEST_F(WordReportTest, TooFewPicturesOrTextsTouchNothing)
{
    Application application(recorder);
    EXPECT_EQ(
        fillWordReport(&application, "/x/template", "/x/out.docx", pictures(4), Texts, nullptr),
        WordReportResult::Failed);
    const std::vector<std::string> twelve(Texts.begin(), Texts.end() - 1);
    EXPECT_EQ(
        fillWordReport(&application, "/x/template", "/x/out.docx", pictures(5), twelve, nullptr),
        WordReportResult::Failed);
    EXPECT_TRUE(recorder.log.empty());
}

TEST_F(WordReportTest, NoDocumentNoClosing)
{
    recorder.failAt = 0;
    EXPECT_EQ(fill(5), WordReportResult::Failed);
    EXPECT_EQ(recorder.log, (Calls{"progress 10/100", "app.documents"}));

    recorder = Recorder();
    recorder.failAt = 1;
    EXPECT_EQ(fill(5), WordReportResult::Failed);
    EXPECT_EQ(recorder.log,
              (Calls{"progress 10/100", "app.documents", "documents.add /x/template"}));
}

TEST_F(WordReportTest, AFailureWhileFillingClosesEverything)
{
    recorder.failAt = 9; // the project cell's text
    EXPECT_EQ(fill(5), WordReportResult::Failed);
    EXPECT_EQ(recorder.log, (Calls{"progress 10/100", "app.documents", "documents.add /x/template",
                                   "progress 20/100"} +
                             table("tblProj") + text("2 2", "t0") +
                             Calls{"document.saved true", "document.close", "app.quit"}));
}

TEST_F(WordReportTest, EveryFillingCallThatFailsClosesEverything)
{
    // Four marked frames, each call of the filling and the saving in turn.
    const Calls full = Start + picture("1 1", "/x/5", "140") + Calls{"progress 56/100"} +
                       picture("1 2", "/x/6", "140") + Calls{"progress 57/100"} +
                       picture("1 3", "/x/7", "140") + Calls{"progress 58/100", "rows.add"} +
                       picture("2 1", "/x/8", "140") + Calls{"progress 59/100"} + Finish;
    int call = 0;
    for (size_t entry = 0; entry < full.size(); ++entry) {
        if (full[entry].starts_with("progress "))
            continue;
        const int failing = call++;
        if (failing < 2)
            continue; // no document yet
        if (full[entry] == "document.saved true")
            break;
        recorder = Recorder();
        recorder.failAt = failing;
        EXPECT_EQ(fill(9), WordReportResult::Failed) << full[entry];
        EXPECT_EQ(recorder.log,
                  (Calls(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(entry) + 1) +
                   Calls{"document.saved true", "document.close", "app.quit"}))
            << full[entry];
    }
    EXPECT_EQ(call, 125); // 2 to open, 122 to fill and save, then saved
}

TEST_F(WordReportTest, ClosingStopsAtItsFirstFailure)
{
    const Calls start = Start + Calls{"progress 70/100", "document.saveAs /x/out.docx",
                                      "progress 80/100", "document.saved true"};
    const int saved = 99; // Start has 98 calls, then saveAs
    recorder.failAt = saved;
    EXPECT_EQ(fill(5), WordReportResult::Failed);
    EXPECT_EQ(recorder.log, start);

    recorder = Recorder();
    recorder.failAt = saved + 1;
    EXPECT_EQ(fill(5), WordReportResult::Failed);
    EXPECT_EQ(recorder.log, start + Calls{"document.close"});

    recorder = Recorder();
    recorder.failAt = saved + 2;
    EXPECT_EQ(fill(5), WordReportResult::Failed);
    EXPECT_EQ(recorder.log, (start + Calls{"document.close", "app.quit"}));
}
