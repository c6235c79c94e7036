#pragma once

#include "core/export/OfficeConverter.h"
#include "core/export/WordObjects.h"

#include <memory>
#include <optional>

namespace dorvane {

struct DocxSession;

// The word processor as the built-in engine: documents are .docx packages
// filled in memory; a converter, when given, saves them as .doc or .pdf too.
class DocxWordApplication final : public WordApplication
{
public:
    explicit DocxWordApplication(std::optional<OfficeConverter> converter);

    std::unique_ptr<WordDocuments> documents() override;
    // Closes every document still open; afterwards nothing more can be done.
    bool quit() override;

private:
    std::shared_ptr<DocxSession> m_session;
};

} // namespace dorvane
