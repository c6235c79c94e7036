#pragma once

#include <pugixml.hpp>
#include <vector>

namespace dorvane {

class DocxDocumentState;

// Where a range lies in the main part: the whole of a table cell, or the
// stretch between a bookmark's start and end marks.
class DocxRangeScope
{
public:
    static DocxRangeScope ofCell(pugi::xml_node cell);
    static DocxRangeScope ofBookmark(pugi::xml_node start, pugi::xml_node end);

    bool isLive(const DocxDocumentState &state) const;
    pugi::xml_node cell() const { return m_cell; }
    pugi::xml_node start() const { return m_start; }
    pugi::xml_node end() const { return m_end; }

    // The tables of the range in document order. A cell's are the tables
    // nested in it. A bookmark's is the table it starts in, else those that
    // begin between its marks, else the table right after its end.
    std::vector<pugi::xml_node> tables() const;
    // The inline drawings (wp:inline) in the range, in document order.
    std::vector<pugi::xml_node> inlineDrawings() const;
    // Where a picture goes: the paragraph and the node to insert after (null
    // for the start of the paragraph's content). A null paragraph when the
    // range has no place for one.
    std::pair<pugi::xml_node, pugi::xml_node> insertionPoint() const;

private:
    pugi::xml_node m_cell;
    pugi::xml_node m_start;
    pugi::xml_node m_end;
};

} // namespace dorvane
