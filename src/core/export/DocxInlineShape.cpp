#include "core/export/DocxInlineShape.h"

#include "core/export/DocxDocumentState.h"
#include "core/export/DocxDrawing.h"
#include "core/export/DocxNames.h"

#include <cmath>

namespace dorvane {

namespace {

// The word processor takes sizes up to 22 inches.
constexpr float MaxPoints = 22 * 72;

long emuOf(float points)
{
    return std::lround(static_cast<double>(points) * docx::EmuPerPoint);
}

bool isSize(float points)
{
    return std::isfinite(points) && points > 0 && points <= MaxPoints;
}

} // namespace

DocxInlineShape::DocxInlineShape(std::shared_ptr<DocxDocumentState> state, pugi::xml_node drawing)
    : m_state(std::move(state)), m_drawing(drawing)
{}

bool DocxInlineShape::setWidth(float points)
{
    return isSize(points) && m_state->isLive(m_drawing) &&
           docx::setPictureWidth(m_drawing, emuOf(points));
}

bool DocxInlineShape::setHeight(float points)
{
    return isSize(points) && m_state->isLive(m_drawing) &&
           docx::setPictureHeight(m_drawing, emuOf(points));
}

} // namespace dorvane
