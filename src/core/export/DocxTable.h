#pragma once

#include "core/export/WordObjects.h"

#include <memory>
#include <pugixml.hpp>

namespace dorvane {

class DocxDocumentState;

// A table (w:tbl). Cells are counted by their place in the row, so a cell
// spanning columns counts once.
class DocxTable final : public WordTable
{
public:
    DocxTable(std::shared_ptr<DocxDocumentState> state, pugi::xml_node table);

    std::unique_ptr<WordRows> rows() override;
    std::unique_ptr<WordCell> cell(int row, int column) override;
    bool remove() override;

private:
    std::shared_ptr<DocxDocumentState> m_state;
    pugi::xml_node m_table;
};

} // namespace dorvane
