#pragma once

#include "core/export/DocxDocumentState.h"
#include "core/export/DocxRange.h"
#include "core/export/WordObjects.h"

#include <memory>
#include <pugixml.hpp>

namespace dorvane {

// A bookmark: its start and end marks.
class DocxBookmark final : public WordBookmark
{
public:
    DocxBookmark(std::shared_ptr<DocxDocumentState> state, pugi::xml_node start, pugi::xml_node end)
        : m_state(std::move(state)), m_scope(DocxRangeScope::ofBookmark(start, end))
    {}

    std::unique_ptr<WordRange> range() override
    {
        if (!m_scope.isLive(*m_state))
            return nullptr;
        return std::make_unique<DocxRange>(m_state, m_scope);
    }

private:
    std::shared_ptr<DocxDocumentState> m_state;
    DocxRangeScope m_scope;
};

} // namespace dorvane
