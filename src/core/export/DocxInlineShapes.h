#pragma once

#include "core/export/DocxRangeScope.h"
#include "core/export/WordObjects.h"

#include <memory>

namespace dorvane {

class DocxDocumentState;

// The inline pictures of a range.
class DocxInlineShapes final : public WordInlineShapes
{
public:
    DocxInlineShapes(std::shared_ptr<DocxDocumentState> state, DocxRangeScope scope);

    std::unique_ptr<WordInlineShape> item(int index) override;
    // The picture goes in as a PNG part of the document; a malformed one
    // (no pixels, or fewer or more than its size says) gives nothing.
    std::unique_ptr<WordInlineShape> addPicture(const RgbPicture &picture) override;

private:
    std::shared_ptr<DocxDocumentState> m_state;
    DocxRangeScope m_scope;
};

} // namespace dorvane
