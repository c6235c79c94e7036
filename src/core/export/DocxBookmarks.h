#pragma once

#include "core/export/WordObjects.h"

#include <memory>

namespace dorvane {

class DocxDocumentState;

// The bookmarks of a document's main text.
class DocxBookmarks final : public WordBookmarks
{
public:
    explicit DocxBookmarks(std::shared_ptr<DocxDocumentState> state);

    // Names are matched regardless of letter case, as the word processor
    // does; a bookmark without an end mark after its start is not found.
    std::unique_ptr<WordBookmark> item(const std::string &name) override;

private:
    std::shared_ptr<DocxDocumentState> m_state;
};

} // namespace dorvane
