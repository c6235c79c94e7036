#pragma once

#include "core/export/WordObjects.h"

#include <memory>

namespace dorvane {

class DocxDocumentState;
struct DocxSession;

// A document of the engine, made from a template.
class DocxDocument final : public WordDocument
{
public:
    DocxDocument(std::shared_ptr<DocxSession> session, std::shared_ptr<DocxDocumentState> state);

    std::unique_ptr<WordBookmarks> bookmarks() override;
    // .docx is written directly; .doc and .pdf need the session's converter.
    bool saveAs(const std::string &path) override;
    int saveError() const override { return m_saveError; }
    bool setSaved(bool saved) override;
    bool close() override;

private:
    std::shared_ptr<DocxSession> m_session;
    std::shared_ptr<DocxDocumentState> m_state;
    bool m_saved = false;
    int m_saveError = 0;
};

} // namespace dorvane
