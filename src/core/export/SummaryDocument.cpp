#include "core/export/SummaryDocument.h"

#include "core/app/ProgramPaths.h"
#include "core/export/WordCellText.h"
#include "core/export/WordObjects.h"
#include "core/library/SummaryTable.h"

#include <memory>

namespace dorvane {

namespace {

// The range of a bookmark, with the objects on the way to it kept as long
// as it is used.
struct BookmarkRange
{
    std::unique_ptr<WordBookmarks> bookmarks;
    std::unique_ptr<WordBookmark> bookmark;
    std::unique_ptr<WordRange> range;

    bool find(WordDocument &document, const std::string &name)
    {
        return (bookmarks = document.bookmarks()) && (bookmark = bookmarks->item(name)) &&
               (range = bookmark->range());
    }
};

bool fillRow(WordTable &table, int row, const std::vector<std::string> &cells)
{
    for (size_t column = 0; column < cells.size(); ++column)
        if (!setCellText(table, row, static_cast<int>(column) + 1, cells[column]))
            return false;
    return true;
}

bool fillTable(WordDocument &document, const SummaryTable &summary)
{
    BookmarkRange found;
    if (!found.find(document, "tblSummary"))
        return false;
    const std::unique_ptr<WordTables> tables = found.range->tables();
    const std::unique_ptr<WordTable> table = tables ? tables->item(1) : nullptr;
    if (!table || !fillRow(*table, 1, summary.headings))
        return false;
    // The template's empty row is the first; each further one copies it.
    const std::unique_ptr<WordRows> rows = table->rows();
    if (!rows)
        return false;
    for (size_t i = 1; i < summary.rows.size(); ++i)
        if (!rows->add())
            return false;
    for (size_t i = 0; i < summary.rows.size(); ++i)
        if (!fillRow(*table, static_cast<int>(i) + 2, summary.rows[i]))
            return false;
    return true;
}

bool fill(WordDocument &document, const std::string &title, const SummaryTable &summary,
          const std::string &outputPath)
{
    BookmarkRange heading;
    return heading.find(document, "txtTitle") && heading.range->setText(title) &&
           fillTable(document, summary) && document.saveAs(outputPath);
}

} // namespace

std::string summaryTemplatePath()
{
    return programFolder() + "summary.templ";
}

WordReportResult writeSummaryDocument(WordApplication *application, const std::string &templatePath,
                                      const std::string &outputPath, const std::string &title,
                                      const SummaryTable &table)
{
    if (!application)
        return {WordReportResult::CannotStart};
    const std::unique_ptr<WordDocuments> documents = application->documents();
    const std::unique_ptr<WordDocument> document =
        documents ? documents->add(templatePath) : nullptr;
    if (!document)
        return {};
    const bool written = fill(*document, title, table, outputPath);
    const int systemError = written ? 0 : document->saveError();
    const bool closed = document->setSaved(true) && document->close() && application->quit();
    if (!written || !closed)
        return {WordReportResult::Failed, systemError};
    return {WordReportResult::Written};
}

} // namespace dorvane
