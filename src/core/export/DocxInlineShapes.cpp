#include "core/export/DocxInlineShapes.h"

#include "core/export/DocxDocumentState.h"
#include "core/export/DocxDrawing.h"
#include "core/export/DocxInlineShape.h"
#include "core/export/DocxNames.h"
#include "core/export/PngEncoder.h"

namespace dorvane {

DocxInlineShapes::DocxInlineShapes(std::shared_ptr<DocxDocumentState> state, DocxRangeScope scope)
    : m_state(std::move(state)), m_scope(scope)
{}

std::unique_ptr<WordInlineShape> DocxInlineShapes::item(int index)
{
    if (!m_scope.isLive(*m_state) || index < 1)
        return nullptr;
    const auto drawings = m_scope.inlineDrawings();
    if (static_cast<size_t>(index) > drawings.size())
        return nullptr;
    return std::make_unique<DocxInlineShape>(m_state, drawings[static_cast<size_t>(index) - 1]);
}

std::unique_ptr<WordInlineShape> DocxInlineShapes::addPicture(const RgbPicture &picture)
{
    if (!m_scope.isLive(*m_state))
        return nullptr;
    auto png = encodePng(picture);
    const auto [paragraph, after] = m_scope.insertionPoint();
    if (png.empty() || !paragraph || !m_state->declarePictureNamespaces())
        return nullptr;
    const auto relationship = m_state->addPicture(std::move(png));
    if (!relationship)
        return nullptr;

    docx::PictureRef ref;
    ref.relationshipId = *relationship;
    ref.drawingId = m_state->newDrawingId();
    ref.width = picture.width * docx::EmuPerPixel;
    ref.height = picture.height * docx::EmuPerPixel;
    return std::make_unique<DocxInlineShape>(m_state, docx::insertPicture(paragraph, after, ref));
}

} // namespace dorvane
