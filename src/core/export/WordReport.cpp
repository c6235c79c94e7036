#include "core/export/WordReport.h"

#include "core/base/ProgressSink.h"
#include "core/export/ReportContent.h"
#include "core/export/WordCellText.h"
#include "core/export/WordObjects.h"

#include <memory>

namespace dorvane {

namespace {

constexpr int FramesPerRow = 3;

void post(ProgressSink *sink, int done)
{
    if (sink)
        sink->postProgress(done, 100);
}

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

enum class Sizing
{
    AddedShape,
    // The first picture of the cell, whichever the word processor put first.
    FirstShape
};

bool addPicture(WordTable &table, int row, int column, const RgbPicture &picture, float width,
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
    const std::unique_ptr<WordInlineShape> added = shapes->addPicture(picture);
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
    ReportFiller(WordDocument &document, const ReportContent &content, ProgressSink *progress)
        : m_document(document), m_content(content), m_texts(content.texts), m_progress(progress)
    {}

    bool fill(const std::string &outputPath)
    {
        if (!fillProject() || !fillSediment() || !fillPipeInfo() || !fillPipe3d() ||
            !fillFramePictures() || !fillAssessment())
            return false;
        if (!m_document.saveAs(outputPath))
            return false;
        post(m_progress, 80);
        return true;
    }

private:
    bool fillProject()
    {
        BookmarkTable project;
        if (!findTable(m_document, "tblProj", project) ||
            !setCellText(*project.table, 2, 2, m_texts.place) ||
            !setCellText(*project.table, 3, 2, m_texts.surveyDate) ||
            !setCellText(*project.table, 4, 2, m_texts.company))
            return false;
        post(m_progress, 22);
        return true;
    }

    bool fillSediment()
    {
        BookmarkTable sediment;
        if (!findTable(m_document, "tblMud", sediment))
            return false;
        // Rows 3..6 hold classes 0..3: length, then share.
        int row = 3;
        for (const ReportTexts::SedimentClass &sedimentClass : m_texts.sedimentClasses) {
            if (!setCellText(*sediment.table, row, 2, sedimentClass.length) ||
                !setCellText(*sediment.table, row, 3, sedimentClass.share))
                return false;
            ++row;
        }
        if (!addPicture(*sediment.table, 7, 1, m_content.chart, 450, 300, Sizing::FirstShape))
            return false;
        post(m_progress, 30);
        return true;
    }

    bool fillPipeInfo()
    {
        BookmarkTable info;
        if (!findTable(m_document, "tblPipeInfo", info))
            return false;
        const std::string *cells[] = {&m_texts.wells, &m_texts.totalLength,
                                      &m_texts.averageSediment, &m_texts.blankCell};
        for (int column = 1; column <= 4; ++column)
            if (!setCellText(*info.table, 2, column, *cells[column - 1]))
                return false;
        post(m_progress, 40);
        return true;
    }

    bool fillPipe3d()
    {
        BookmarkTable views;
        if (!findTable(m_document, "tblPipe3D", views))
            return false;
        const ReportContent::PipeViews &pipe = m_content.pipeViews;
        // Two by two: centre and outside above, inside and far below.
        const RgbPicture *pictures[] = {&pipe.centre, &pipe.outside, &pipe.inside, &pipe.far};
        for (int p = 0; p < 4; ++p) {
            if (!addPicture(*views.table, 1 + p / 2, 1 + p % 2, *pictures[p], 200, 200,
                            Sizing::AddedShape))
                return false;
            post(m_progress, 42 + 2 * p);
        }
        return true;
    }

    // Three frames a row, each above its caption. The first row is the
    // template's; one more is added per further pass, and the last pass may
    // find no picture left, which leaves its row empty. Without marked
    // frames a sentence takes the table's place.
    bool fillFramePictures()
    {
        post(m_progress, 50);
        BookmarkTable table;
        if (!findTable(m_document, "tblSonarPic", table))
            return false;
        const std::vector<ReportContent::MarkedFrame> &frames = m_content.frames;
        if (frames.empty()) {
            if (!replaceBookmarkText("txtSonarPic", m_content.noFrames) || !table.table->remove())
                return false;
            post(m_progress, 70);
            return true;
        }
        const std::unique_ptr<WordRows> rows = table.table->rows();
        if (!rows)
            return false;
        const int count = static_cast<int>(frames.size());
        const int passes = (count + 1) / FramesPerRow + 1;
        int next = 0;
        for (int row = 1; row <= passes; ++row) {
            if (row > 1 && !rows->add())
                return false;
            for (int column = 1; column <= FramesPerRow && next < count; ++column) {
                const ReportContent::MarkedFrame &frame = frames[static_cast<size_t>(next)];
                // The caption is a paragraph of its own below the picture.
                if (!setCellText(*table.table, row, column, "\n" + frame.caption) ||
                    !addPicture(*table.table, row, column, frame.picture, 140, 140,
                                Sizing::AddedShape))
                    return false;
                ++next;
                // From 50 to 70 however many frames there are.
                post(m_progress, 50 + 20 * next / count);
            }
        }
        post(m_progress, 70);
        return true;
    }

    // The summary with the chart below it, then one row a defect record;
    // without records a sentence takes the records table's place.
    bool fillAssessment()
    {
        const ReportContent::Assessment &assessment = m_content.assessment;
        BookmarkTable summary;
        if (!findTable(m_document, "tblAssess", summary))
            return false;
        for (int row = 1; row <= 6; ++row)
            if (!setCellText(*summary.table, row, 2,
                             assessment.summary[static_cast<size_t>(row - 1)]))
                return false;
        if (!assessment.chart.pixels.empty() &&
            !addPicture(*summary.table, 7, 1, assessment.chart, 480, 200, Sizing::AddedShape))
            return false;
        post(m_progress, 74);

        BookmarkTable records;
        if (!findTable(m_document, "tblDefects", records))
            return false;
        if (assessment.records.empty())
            return replaceBookmarkText("txtDefects", assessment.noRecords) &&
                   records.table->remove();
        const std::unique_ptr<WordRows> rows = records.table->rows();
        if (!rows)
            return false;
        for (size_t r = 0; r < assessment.records.size(); ++r) {
            if (r > 0 && !rows->add())
                return false;
            for (int column = 1; column <= 8; ++column)
                if (!setCellText(*records.table, static_cast<int>(r) + 2, column,
                                 assessment.records[r][static_cast<size_t>(column - 1)]))
                    return false;
        }
        post(m_progress, 78);
        return true;
    }

    bool replaceBookmarkText(const std::string &name, const std::string &text)
    {
        const std::unique_ptr<WordBookmarks> bookmarks = m_document.bookmarks();
        const std::unique_ptr<WordBookmark> bookmark = bookmarks ? bookmarks->item(name) : nullptr;
        const std::unique_ptr<WordRange> range = bookmark ? bookmark->range() : nullptr;
        return range && range->setText(text);
    }

    WordDocument &m_document;
    const ReportContent &m_content;
    const ReportTexts &m_texts;
    ProgressSink *m_progress;
};

// Leaves the document unsaved and closed and the word processor gone; stops
// at the first call that fails.
bool closeAll(WordApplication &application, WordDocument &document)
{
    return document.setSaved(true) && document.close() && application.quit();
}

} // namespace

WordReportResult fillWordReport(WordApplication *application, const std::string &templatePath,
                                const std::string &outputPath, const ReportContent &content,
                                ProgressSink *progress)
{
    post(progress, 10);
    if (!application)
        return {WordReportResult::CannotStart};
    const std::unique_ptr<WordDocuments> documents = application->documents();
    if (!documents)
        return {};
    const std::unique_ptr<WordDocument> document = documents->add(templatePath);
    if (!document)
        return {};
    post(progress, 20);

    const bool filled = ReportFiller(*document, content, progress).fill(outputPath);
    const int systemError = filled ? 0 : document->saveError();
    if (!closeAll(*application, *document) || !filled)
        return {WordReportResult::Failed, systemError};
    post(progress, 90);
    return {WordReportResult::Written};
}

} // namespace dorvane
