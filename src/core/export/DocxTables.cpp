#include "core/export/DocxTables.h"

#include "core/export/DocxDocumentState.h"
#include "core/export/DocxTable.h"

namespace dorvane {

DocxTables::DocxTables(std::shared_ptr<DocxDocumentState> state, std::vector<pugi::xml_node> tables)
    : m_state(std::move(state)), m_tables(std::move(tables))
{}

std::unique_ptr<WordTable> DocxTables::item(int index)
{
    if (index < 1 || static_cast<size_t>(index) > m_tables.size())
        return nullptr;
    const pugi::xml_node table = m_tables[static_cast<size_t>(index) - 1];
    if (!m_state->isLive(table))
        return nullptr;
    return std::make_unique<DocxTable>(m_state, table);
}

} // namespace dorvane
