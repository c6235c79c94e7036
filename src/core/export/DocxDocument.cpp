#include "core/export/DocxDocument.h"

#include "core/export/DocxBookmarks.h"
#include "core/export/DocxDocumentState.h"
#include "core/export/DocxSession.h"
#include "core/export/ReportFormat.h"
#include "core/export/WholeFile.h"

namespace dorvane {

DocxDocument::DocxDocument(std::shared_ptr<DocxSession> session,
                           std::shared_ptr<DocxDocumentState> state)
    : m_session(std::move(session)), m_state(std::move(state))
{}

std::unique_ptr<WordBookmarks> DocxDocument::bookmarks()
{
    if (!m_state->isOpen())
        return nullptr;
    return std::make_unique<DocxBookmarks>(m_state);
}

bool DocxDocument::saveAs(const std::string &path)
{
    m_saveError = 0;
    const ReportFormat format = reportFormatOf(path);
    if (!m_state->isOpen() || format == ReportFormat::Unknown ||
        (format != ReportFormat::Docx && !m_session->converter))
        return false;
    const auto docx = m_state->docxBytes();
    if (!docx)
        return false;
    if (format == ReportFormat::Docx)
        return writeWholeFile(path, *docx, m_saveError);
    return m_session->converter->convert(*docx, format, path, m_saveError);
}

bool DocxDocument::setSaved(bool saved)
{
    if (!m_state->isOpen())
        return false;
    m_saved = saved;
    return true;
}

bool DocxDocument::close()
{
    if (!m_state->isOpen())
        return false;
    m_state->close();
    return true;
}

} // namespace dorvane
