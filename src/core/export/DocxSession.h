#pragma once

#include "core/export/OfficeConverter.h"

#include <memory>
#include <optional>
#include <vector>

namespace dorvane {

class DocxDocumentState;

// What the engine's application shares with its documents: the converter
// for formats other than .docx, if any, and the documents it opened, so
// that quitting closes them.
struct DocxSession
{
    std::optional<OfficeConverter> converter;
    std::vector<std::weak_ptr<DocxDocumentState>> documents;
    bool quit = false;
};

} // namespace dorvane
