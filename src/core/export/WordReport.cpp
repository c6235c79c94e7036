#include "core/export/WordReport.h"

#include "core/base/ProgressSink.h"
#include "core/export/ReportTexts.h"
#include "core/export/WordObjects.h"

#include <algorithm>
#include <memory>

namespace dorvane {

namespace {

// Pictures 0..4 (chart and 3D views) come before the frames.
constexpr size_t FirstFramePicture = 5;
constexpr int FramesPerRow = 3;

class Progress
{
public:
    explicit Progress(ProgressSink *sink) : m_sink(sink) {}
    // A long list of frame pictures would count past the end: it stops there.
    void post(int done) const
    {
        if (m_sink)
            m_sink->postProgress(std::min(done, 100), 100);
    }

private:
    ProgressSink *m_sink;
};

// The first table of a bookmark's range, with every object on the way to it
// kept until the table is done with and then released last to first.
struct BookmarkTable
{
    std::unique_ptr<WordBookmarks> bookmarks;
    std::unique_ptr<WordBookmark> bookmark;
    std::unique_ptr<WordRange> range;
    std::unique_ptr<WordTables> tables;
    std::unique_ptr<WordTable> table;
};

bool findTable(WordDocument &document, const std::string &bookmarkName, BookmarkTable &found)
{
    if (!(found.bookmarks = document.bookmarks()))
        return false;
    if (!(found.bookmark = found.bookmarks->item(bookmarkName)))
        return false;
    if (!(found.range = found.bookmark->range()))
        return false;
    if (!(found.tables = found.range->tables()))
        return false;
    found.table = found.tables->item(1);
    return found.table != nullptr;
}

bool setCellText(WordTable &table, int row, int column, const std::string &text)
{
    const std::unique_ptr<WordCell> cell = table.cell(row, column);
    if (!cell)
        return false;
    const std::unique_ptr<WordRange> range = cell->range();
    return range && range->setText(text);
}

enum class Sizing
{
    AddedShape,
    // The first picture of the cell, whichever the word processor put first.
    FirstShape
};

bool addPicture(WordTable &table, int row, int column, const std::string &path, float width,
                float height, Sizing sizing)
{
    const std::unique_ptr<WordCell> cell = table.cell(row, column);
    if (!cell)
        return false;
    const std::unique_ptr<WordRange> range = cell->range();
    if (!range)
        return false;
    const std::unique_ptr<WordInlineShapes> shapes = range->inlineShapes();
    if (!shapes)
        return false;
    const std::unique_ptr<WordInlineShape> added = shapes->addPicture(path);
    if (!added)
        return false;
    std::unique_ptr<WordInlineShape> first;
    if (sizing == Sizing::FirstShape && !(first = shapes->item(1)))
        return false;
    WordInlineShape &shape = first ? *first : *added;
    return shape.setWidth(width) && shape.setHeight(height);
}

class ReportFiller
{
public:
    ReportFiller(WordDocument &document, const std::vector<std::string> &pictures,
                 const std::vector<std::string> &texts, const Progress &progress)
        : m_document(document), m_pictures(pictures), m_texts(texts), m_progress(progress)
    {}

    bool fill(const std::string &outputPath)
    {
        if (!fillProject() || !fillSediment() || !fillPipeInfo() || !fillPipe3d() ||
            !fillFramePictures())
            return false;
        if (!m_document.saveAs(outputPath))
            return false;
        m_progress.post(80);
        return true;
    }

private:
    bool fillProject()
    {
        BookmarkTable project;
        if (!findTable(m_document, "tblProj", project) ||
            !setCellText(*project.table, 2, 2, m_texts[0]))
            return false;
        m_progress.post(22);
        return true;
    }

    bool fillSediment()
    {
        BookmarkTable sediment;
        if (!findTable(m_document, "tblMud", sediment))
            return false;
        // Rows 3..6 hold classes 0..3: length, then share.
        for (int sedimentClass = 0; sedimentClass < 4; ++sedimentClass) {
            const int row = 3 + sedimentClass;
            const size_t text = 1 + 2 * static_cast<size_t>(sedimentClass);
            if (!setCellText(*sediment.table, row, 2, m_texts[text]) ||
                !setCellText(*sediment.table, row, 3, m_texts[text + 1]))
                return false;
        }
        if (!addPicture(*sediment.table, 7, 1, m_pictures[0], 450, 300, Sizing::FirstShape))
            return false;
        m_progress.post(30);
        return true;
    }

    bool fillPipeInfo()
    {
        BookmarkTable info;
        if (!findTable(m_document, "tblPipeInfo", info))
            return false;
        for (int column = 1; column <= 4; ++column)
            if (!setCellText(*info.table, 2, column, m_texts[8 + static_cast<size_t>(column)]))
                return false;
        m_progress.post(40);
        return true;
    }

    bool fillPipe3d()
    {
        BookmarkTable views;
        if (!findTable(m_document, "tblPipe3D", views))
            return false;
        for (int p = 1; p <= 4; ++p) {
            if (!addPicture(*views.table, 1 + (p - 1) / 2, 1 + (p - 1) % 2,
                            m_pictures[static_cast<size_t>(p)], 200, 200, Sizing::AddedShape))
                return false;
            m_progress.post(31 + p);
        }
        return true;
    }

    // Three frames a row. The first row is the template's; one more is added
    // per further pass, and the last pass may find no picture left, which
    // leaves its row empty.
    bool fillFramePictures()
    {
        m_progress.post(50);
        BookmarkTable frames;
        if (!findTable(m_document, "tblSonarPic", frames))
            return false;
        const std::unique_ptr<WordRows> rows = frames.table->rows();
        if (!rows)
            return false;
        const int passes = (static_cast<int>(m_pictures.size()) - 4) / FramesPerRow + 1;
        size_t next = FirstFramePicture;
        for (int row = 1; row <= passes; ++row) {
            if (row > 1 && !rows->add())
                return false;
            for (int column = 1; column <= FramesPerRow && next < m_pictures.size(); ++column) {
                if (!addPicture(*frames.table, row, column, m_pictures[next], 140, 140,
                                Sizing::AddedShape))
                    return false;
                m_progress.post(static_cast<int>(next) + 51);
                ++next;
            }
        }
        m_progress.post(70);
        return true;
    }

    WordDocument &m_document;
    const std::vector<std::string> &m_pictures;
    const std::vector<std::string> &m_texts;
    const Progress &m_progress;
};

// Leaves the document unsaved and closed and the word processor gone; stops
// at the first call that fails.
bool closeAll(WordApplication &application, WordDocument &document)
{
    return document.setSaved(true) && document.close() && application.quit();
}

} // namespace

WordReportResult fillWordReport(WordApplication *application, const std::string &templateCopyPath,
                                const std::string &outputPath,
                                const std::vector<std::string> &pictures,
                                const std::vector<std::string> &texts, ProgressSink *progressSink)
{
    const Progress progress(progressSink);
    progress.post(10);
    if (!application)
        return WordReportResult::CannotStart;
    if (pictures.size() < FirstFramePicture || texts.size() < ReportTextCount)
        return WordReportResult::Failed;
    const std::unique_ptr<WordDocuments> documents = application->documents();
    if (!documents)
        return WordReportResult::Failed;
    const std::unique_ptr<WordDocument> document = documents->add(templateCopyPath);
    if (!document)
        return WordReportResult::Failed;
    progress.post(20);

    const bool filled = ReportFiller(*document, pictures, texts, progress).fill(outputPath);
    if (!closeAll(*application, *document) || !filled)
        return WordReportResult::Failed;
    progress.post(90);
    return WordReportResult::Written;
}

} // namespace dorvane
