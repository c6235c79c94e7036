#pragma once

#include <pugixml.hpp>
#include <string_view>

namespace dorvane {

class DocxDocumentState;

// Writing text into the main part. A text is UTF-8; a carriage return or line
// feed (or the pair) starts a new paragraph, a tab is a tab and a vertical
// tab a line break, as in the word processor's Range.Text.
namespace docx {

// False for invalid UTF-8 and for characters a document cannot hold.
bool isDocumentText(std::string_view text);

// Replaces everything in a table cell by text. The first paragraph stays
// with its properties, and the text takes the properties of the cell's first
// run, so that the template's fonts remain. Bookmark marks in the cell stay.
bool replaceCellText(DocxDocumentState &state, pugi::xml_node cell, std::string_view text);

// Replaces what lies between a bookmark's start and end marks when both are
// in one paragraph; false otherwise. Paragraph breaks become line breaks.
bool replaceBookmarkText(DocxDocumentState &state, pugi::xml_node start, pugi::xml_node end,
                         std::string_view text);

// Leaves a copied cell with one empty paragraph, keeping the cell's and that
// paragraph's properties.
void emptyCell(pugi::xml_node cell);

} // namespace docx
} // namespace dorvane
