#pragma once

#include "core/export/WordObjects.h"

#include <memory>

namespace dorvane {

struct DocxSession;

// The engine's documents.
class DocxDocuments final : public WordDocuments
{
public:
    explicit DocxDocuments(std::shared_ptr<DocxSession> session);

    // The template is read whole; the document is a copy in memory.
    std::unique_ptr<WordDocument> add(const std::string &templatePath) override;

private:
    std::shared_ptr<DocxSession> m_session;
};

} // namespace dorvane
