#pragma once

#include <cstdint>
#include <pugixml.hpp>
#include <string>

// Inline pictures in the main part: a run holding a drawing whose extent
// says its size in EMU.
namespace dorvane::docx {

struct PictureRef
{
    std::string relationshipId;
    uint32_t drawingId = 0;
    long width = 0;  // EMU
    long height = 0; // EMU
};

// Inserts a run with the picture into paragraph after the node after (at the
// start of the paragraph's content when after is null); the drawing's
// wp:inline element.
pugi::xml_node insertPicture(pugi::xml_node paragraph, pugi::xml_node after,
                             const PictureRef &picture);

// Sets the drawing's width or height in EMU, in its extent and in its
// picture's transform.
bool setPictureWidth(pugi::xml_node inlineDrawing, long emu);
bool setPictureHeight(pugi::xml_node inlineDrawing, long emu);

} // namespace dorvane::docx
