#include "core/export/DocxRangeScope.h"

#include "core/export/DocxDocumentState.h"
#include "core/export/DocxNodes.h"

namespace dorvane {

using docx::isNamed;

DocxRangeScope DocxRangeScope::ofCell(pugi::xml_node cell)
{
    DocxRangeScope scope;
    scope.m_cell = cell;
    return scope;
}

DocxRangeScope DocxRangeScope::ofBookmark(pugi::xml_node start, pugi::xml_node end)
{
    DocxRangeScope scope;
    scope.m_start = start;
    scope.m_end = end;
    return scope;
}

bool DocxRangeScope::isLive(const DocxDocumentState &state) const
{
    if (m_cell)
        return state.isLive(m_cell);
    return state.isLive(m_start) && state.isLive(m_end);
}

std::vector<pugi::xml_node> DocxRangeScope::tables() const
{
    if (m_cell)
        return docx::childrenNamed(m_cell, "w:tbl");
    if (pugi::xml_node table = docx::ancestorNamed(m_start, "w:tbl"))
        return {table};

    std::vector<pugi::xml_node> found;
    for (pugi::xml_node at = docx::nextNode(m_start); at && at != m_end;) {
        if (!isNamed(at, "w:tbl")) {
            at = docx::nextNode(at);
            continue;
        }
        found.push_back(at);
        if (docx::isInside(m_end, at))
            break; // the bookmark ends inside this table
        at = docx::nextAfterSubtree(at);
    }
    if (!found.empty())
        return found;

    // The block that holds the end mark, then the next block after it,
    // passing over other bookmarks' marks.
    pugi::xml_node block = m_end;
    while (block.parent() && !isNamed(block.parent(), "w:body") && !isNamed(block.parent(), "w:tc"))
        block = block.parent();
    pugi::xml_node next = block.next_sibling();
    while (isNamed(next, "w:bookmarkStart") || isNamed(next, "w:bookmarkEnd"))
        next = next.next_sibling();
    if (isNamed(next, "w:tbl"))
        found.push_back(next);
    return found;
}

std::vector<pugi::xml_node> DocxRangeScope::inlineDrawings() const
{
    if (m_cell)
        return docx::descendantsNamed(m_cell, "wp:inline");
    std::vector<pugi::xml_node> found;
    for (pugi::xml_node at = docx::nextNode(m_start); at && at != m_end; at = docx::nextNode(at))
        if (isNamed(at, "wp:inline"))
            found.push_back(at);
    return found;
}

std::pair<pugi::xml_node, pugi::xml_node> DocxRangeScope::insertionPoint() const
{
    if (m_cell) {
        pugi::xml_node paragraph = m_cell.child("w:p");
        if (!paragraph)
            paragraph = pugi::xml_node(m_cell).append_child("w:p");
        return {paragraph, pugi::xml_node()};
    }
    if (isNamed(m_start.parent(), "w:p"))
        return {m_start.parent(), m_start};
    return {};
}

} // namespace dorvane
