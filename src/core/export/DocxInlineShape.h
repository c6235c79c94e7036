#pragma once

#include "core/export/WordObjects.h"

#include <memory>
#include <pugixml.hpp>

namespace dorvane {

class DocxDocumentState;

// An inline picture: its drawing's wp:inline element.
class DocxInlineShape final : public WordInlineShape
{
public:
    DocxInlineShape(std::shared_ptr<DocxDocumentState> state, pugi::xml_node drawing);

    bool setWidth(float points) override;
    bool setHeight(float points) override;

private:
    std::shared_ptr<DocxDocumentState> m_state;
    pugi::xml_node m_drawing;
};

} // namespace dorvane
