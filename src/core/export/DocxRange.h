#pragma once

#include "core/export/DocxRangeScope.h"
#include "core/export/WordObjects.h"

#include <memory>

namespace dorvane {

class DocxDocumentState;

// A cell's or a bookmark's range.
class DocxRange final : public WordRange
{
public:
    DocxRange(std::shared_ptr<DocxDocumentState> state, DocxRangeScope scope);

    // A bookmark's text can be replaced only when its marks share a
    // paragraph.
    bool setText(const std::string &text) override;
    std::unique_ptr<WordTables> tables() override;
    std::unique_ptr<WordInlineShapes> inlineShapes() override;

private:
    std::shared_ptr<DocxDocumentState> m_state;
    DocxRangeScope m_scope;
};

} // namespace dorvane
