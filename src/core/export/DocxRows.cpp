#include "core/export/DocxRows.h"

#include "core/export/DocxDocumentState.h"
#include "core/export/DocxNodes.h"
#include "core/export/DocxRow.h"
#include "core/export/DocxText.h"

namespace dorvane {

DocxRows::DocxRows(std::shared_ptr<DocxDocumentState> state, pugi::xml_node table)
    : m_state(std::move(state)), m_table(table)
{}

std::unique_ptr<WordRow> DocxRows::add()
{
    if (!m_state->isLive(m_table))
        return nullptr;
    pugi::xml_node lastRow = m_table.last_child();
    while (lastRow && !docx::isNamed(lastRow, "w:tr"))
        lastRow = lastRow.previous_sibling();
    if (!lastRow)
        return nullptr;
    pugi::xml_node row = m_table.insert_copy_after(lastRow, lastRow);
    for (pugi::xml_node cell : docx::childrenNamed(row, "w:tc"))
        docx::emptyCell(cell);
    // A bookmark exists once.
    for (const char *mark : {"w:bookmarkStart", "w:bookmarkEnd"})
        for (pugi::xml_node node : docx::childrenNamed(row, mark))
            row.remove_child(node);
    return std::make_unique<DocxRow>();
}

} // namespace dorvane
