#include "core/export/DocxTable.h"

#include "core/export/DocxCell.h"
#include "core/export/DocxDocumentState.h"
#include "core/export/DocxNodes.h"
#include "core/export/DocxRows.h"

namespace dorvane {

DocxTable::DocxTable(std::shared_ptr<DocxDocumentState> state, pugi::xml_node table)
    : m_state(std::move(state)), m_table(table)
{}

std::unique_ptr<WordRows> DocxTable::rows()
{
    if (!m_state->isLive(m_table))
        return nullptr;
    return std::make_unique<DocxRows>(m_state, m_table);
}

std::unique_ptr<WordCell> DocxTable::cell(int row, int column)
{
    if (!m_state->isLive(m_table) || row < 1 || column < 1)
        return nullptr;
    const auto rows = docx::childrenNamed(m_table, "w:tr");
    if (static_cast<size_t>(row) > rows.size())
        return nullptr;
    const auto cells = docx::childrenNamed(rows[static_cast<size_t>(row) - 1], "w:tc");
    if (static_cast<size_t>(column) > cells.size())
        return nullptr;
    return std::make_unique<DocxCell>(m_state, cells[static_cast<size_t>(column) - 1]);
}

bool DocxTable::remove()
{
    if (!m_state->isLive(m_table))
        return false;
    // Kept aside rather than destroyed: other objects may still name it.
    m_state->retire(m_table);
    return true;
}

} // namespace dorvane
