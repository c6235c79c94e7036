#pragma once

#include "core/export/WordObjects.h"

#include <memory>
#include <pugixml.hpp>

namespace dorvane {

class DocxDocumentState;

// A table's rows.
class DocxRows final : public WordRows
{
public:
    DocxRows(std::shared_ptr<DocxDocumentState> state, pugi::xml_node table);

    // A copy of the last row, with its cells' and paragraphs' properties and
    // nothing in them.
    std::unique_ptr<WordRow> add() override;

private:
    std::shared_ptr<DocxDocumentState> m_state;
    pugi::xml_node m_table;
};

} // namespace dorvane
