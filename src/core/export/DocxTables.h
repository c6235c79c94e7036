#pragma once

#include "core/export/WordObjects.h"

#include <memory>
#include <pugixml.hpp>
#include <vector>

namespace dorvane {

class DocxDocumentState;

// The tables of a range, as they were when it was asked for them.
class DocxTables final : public WordTables
{
public:
    DocxTables(std::shared_ptr<DocxDocumentState> state, std::vector<pugi::xml_node> tables);

    std::unique_ptr<WordTable> item(int index) override;

private:
    std::shared_ptr<DocxDocumentState> m_state;
    std::vector<pugi::xml_node> m_tables;
};

} // namespace dorvane
