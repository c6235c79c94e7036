#include "core/export/DocxWordApplication.h"

#include "core/export/DocxDocumentState.h"
#include "core/export/DocxDocuments.h"
#include "core/export/DocxSession.h"

namespace dorvane {

DocxWordApplication::DocxWordApplication(std::optional<OfficeConverter> converter)
    : m_session(std::make_shared<DocxSession>())
{
    m_session->converter = std::move(converter);
}

std::unique_ptr<WordDocuments> DocxWordApplication::documents()
{
    if (m_session->quit)
        return nullptr;
    return std::make_unique<DocxDocuments>(m_session);
}

bool DocxWordApplication::quit()
{
    if (m_session->quit)
        return false;
    for (const auto &document : m_session->documents)
        if (const auto state = document.lock())
            state->close();
    m_session->documents.clear();
    m_session->quit = true;
    return true;
}

} // namespace dorvane
