#include "core/export/DocxRange.h"

#include "core/export/DocxDocumentState.h"
#include "core/export/DocxInlineShapes.h"
#include "core/export/DocxTables.h"
#include "core/export/DocxText.h"

namespace dorvane {

DocxRange::DocxRange(std::shared_ptr<DocxDocumentState> state, DocxRangeScope scope)
    : m_state(std::move(state)), m_scope(scope)
{}

bool DocxRange::setText(const std::string &text)
{
    if (!m_scope.isLive(*m_state))
        return false;
    if (m_scope.cell())
        return docx::replaceCellText(*m_state, m_scope.cell(), text);
    return docx::replaceBookmarkText(*m_state, m_scope.start(), m_scope.end(), text);
}

std::unique_ptr<WordTables> DocxRange::tables()
{
    if (!m_scope.isLive(*m_state))
        return nullptr;
    return std::make_unique<DocxTables>(m_state, m_scope.tables());
}

std::unique_ptr<WordInlineShapes> DocxRange::inlineShapes()
{
    if (!m_scope.isLive(*m_state))
        return nullptr;
    return std::make_unique<DocxInlineShapes>(m_state, m_scope);
}

} // namespace dorvane
