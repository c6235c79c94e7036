#pragma once

#include "core/export/RgbPicture.h"

#include <memory>
#include <string>

namespace dorvane {

// The word processor's object model as far as the report uses it: an
// application with its documents, a document's bookmarks, a bookmark's
// range, the tables, cells, rows and inline pictures of a range. Every call
// can fail: objects come back null and setters return false. Texts and paths
// are UTF-8. The report fills a document based on a template through it.

class WordInlineShape
{
public:
    virtual ~WordInlineShape() = default;
    // In points.
    virtual bool setWidth(float points) = 0;
    virtual bool setHeight(float points) = 0;
};

class WordInlineShapes
{
public:
    virtual ~WordInlineShapes() = default;
    // Counted from 1.
    virtual std::unique_ptr<WordInlineShape> item(int index) = 0;
    // The picture placed at the start of the range, at 96 dots an inch.
    virtual std::unique_ptr<WordInlineShape> addPicture(const RgbPicture &picture) = 0;
};

class WordTable;

class WordTables
{
public:
    virtual ~WordTables() = default;
    // Counted from 1.
    virtual std::unique_ptr<WordTable> item(int index) = 0;
};

class WordRange
{
public:
    virtual ~WordRange() = default;
    // Replaces the range's text.
    virtual bool setText(const std::string &text) = 0;
    virtual std::unique_ptr<WordTables> tables() = 0;
    virtual std::unique_ptr<WordInlineShapes> inlineShapes() = 0;
};

class WordCell
{
public:
    virtual ~WordCell() = default;
    virtual std::unique_ptr<WordRange> range() = 0;
};

class WordRow
{
public:
    virtual ~WordRow() = default;
};

class WordRows
{
public:
    virtual ~WordRows() = default;
    // A row added at the end of the table, with the last row's cells empty.
    virtual std::unique_ptr<WordRow> add() = 0;
};

class WordTable
{
public:
    virtual ~WordTable() = default;
    virtual std::unique_ptr<WordRows> rows() = 0;
    // Row and column counted from 1.
    virtual std::unique_ptr<WordCell> cell(int row, int column) = 0;
    // Takes the table out of the document.
    virtual bool remove() = 0;
};

class WordBookmark
{
public:
    virtual ~WordBookmark() = default;
    virtual std::unique_ptr<WordRange> range() = 0;
};

class WordBookmarks
{
public:
    virtual ~WordBookmarks() = default;
    virtual std::unique_ptr<WordBookmark> item(const std::string &name) = 0;
};

class WordDocument
{
public:
    virtual ~WordDocument() = default;
    virtual std::unique_ptr<WordBookmarks> bookmarks() = 0;
    // Writes the document to path, in the format its name ends with
    // (.docx, .doc or .pdf); complete or absent.
    virtual bool saveAs(const std::string &path) = 0;
    // Why the last saveAs failed when the system refused it (an errno
    // value, a full disk, say), else 0.
    virtual int saveError() const = 0;
    virtual bool setSaved(bool saved) = 0;
    // Closes without saving.
    virtual bool close() = 0;
};

class WordDocuments
{
public:
    virtual ~WordDocuments() = default;
    // A new document based on the template file.
    virtual std::unique_ptr<WordDocument> add(const std::string &templatePath) = 0;
};

class WordApplication
{
public:
    virtual ~WordApplication() = default;
    virtual std::unique_ptr<WordDocuments> documents() = 0;
    virtual bool quit() = 0;
};

} // namespace dorvane
