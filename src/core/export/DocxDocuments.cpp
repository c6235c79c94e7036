#include "core/export/DocxDocuments.h"

#include "core/export/DocxDocument.h"
#include "core/export/DocxDocumentState.h"
#include "core/export/DocxSession.h"

namespace dorvane {

DocxDocuments::DocxDocuments(std::shared_ptr<DocxSession> session) : m_session(std::move(session))
{}

std::unique_ptr<WordDocument> DocxDocuments::add(const std::string &templatePath)
{
    if (m_session->quit)
        return nullptr;
    std::shared_ptr<DocxDocumentState> state = DocxDocumentState::open(templatePath);
    if (!state)
        return nullptr;
    auto &documents = m_session->documents;
    std::erase_if(documents, [](const auto &document) { return document.expired(); });
    documents.push_back(state);
    return std::make_unique<DocxDocument>(m_session, std::move(state));
}

} // namespace dorvane
