#pragma once

#include "core/export/DocxDocumentState.h"
#include "core/export/DocxRange.h"
#include "core/export/WordObjects.h"

#include <memory>
#include <pugixml.hpp>

namespace dorvane {

// A table cell (w:tc).
class DocxCell final : public WordCell
{
public:
    DocxCell(std::shared_ptr<DocxDocumentState> state, pugi::xml_node cell)
        : m_state(std::move(state)), m_cell(cell)
    {}

    std::unique_ptr<WordRange> range() override
    {
        if (!m_state->isLive(m_cell))
            return nullptr;
        return std::make_unique<DocxRange>(m_state, DocxRangeScope::ofCell(m_cell));
    }

private:
    std::shared_ptr<DocxDocumentState> m_state;
    pugi::xml_node m_cell;
};

} // namespace dorvane
