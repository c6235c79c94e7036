#include "core/export/DocxText.h"

#include "core/export/DocxDocumentState.h"
#include "core/export/DocxNodes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dorvane::docx {

namespace {

bool isMark(pugi::xml_node node)
{
    return isNamed(node, "w:bookmarkStart") || isNamed(node, "w:bookmarkEnd");
}

// The text's paragraphs.
std::vector<std::string_view> paragraphsOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t begin = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(begin, i - begin));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        begin = i + 1;
    }
    lines.push_back(text.substr(begin));
    return lines;
}

// A run holding line, with a copy of the given run properties. Tabs and
// vertical tabs become their elements; paragraph breaks (only possible here
// when a bookmark's text is written) become line breaks.
pugi::xml_node insertRun(pugi::xml_node paragraph, pugi::xml_node after, std::string_view line,
                         pugi::xml_node properties)
{
    pugi::xml_node run =
        after ? paragraph.insert_child_after("w:r", after) : paragraph.append_child("w:r");
    if (properties)
        run.append_copy(properties);
    size_t begin = 0;
    for (size_t i = 0; i <= line.size(); ++i) {
        const bool special = i < line.size() && (line[i] == '\t' || line[i] == '\v' ||
                                                 line[i] == '\r' || line[i] == '\n');
        if (i < line.size() && !special)
            continue;
        if (i > begin) {
            pugi::xml_node t = run.append_child("w:t");
            t.append_attribute("xml:space") = "preserve";
            t.text().set(std::string(line.substr(begin, i - begin)).c_str());
        }
        if (special && line[i] == '\t')
            run.append_child("w:tab");
        else if (special && !(line[i] == '\n' && i > 0 && line[i - 1] == '\r'))
            run.append_child("w:br");
        begin = i + 1;
    }
    return run;
}

// The properties of the first run in node, or those of the first
// paragraph's mark when there is no run.
pugi::xml_node firstRunProperties(pugi::xml_node node, pugi::xml_node paragraph)
{
    const auto runs = descendantsNamed(node, "w:r");
    if (!runs.empty())
        return runs.front().child("w:rPr");
    return paragraph.child("w:pPr").child("w:rPr");
}

} // namespace

bool isDocumentText(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<uint8_t>(text[i]);
        uint32_t code = 0;
        size_t length = 0;
        if (lead < 0x80) {
            code = lead;
            length = 1;
        } else if ((lead & 0xE0) == 0xC0) {
            code = lead & 0x1Fu;
            length = 2;
        } else if ((lead & 0xF0) == 0xE0) {
            code = lead & 0x0Fu;
            length = 3;
        } else if ((lead & 0xF8) == 0xF0) {
            code = lead & 0x07u;
            length = 4;
        } else {
            return false;
        }
        if (text.size() - i < length)
            return false;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<uint8_t>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        static constexpr uint32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < Smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ||
            code == 0xFFFE || code == 0xFFFF)
            return false;
        if (code < 0x20 && code != '\t' && code != '\n' && code != '\r' && code != '\v')
            return false;
        i += length;
    }
    return true;
}

bool replaceCellText(DocxDocumentState &state, pugi::xml_node cell, std::string_view text)
{
    if (!isDocumentText(text))
        return false;
    pugi::xml_node first = cell.child("w:p");
    if (!first)
        first = cell.append_child("w:p");
    const pugi::xml_node found = firstRunProperties(cell, first);
    pugi::xml_document keep;
    const pugi::xml_node properties = found ? keep.append_copy(found) : pugi::xml_node();

    // Everything but the first paragraph's properties goes; bookmark marks
    // move into the first paragraph so that no bookmark loses an end.
    std::vector<pugi::xml_node> marks;
    std::vector<pugi::xml_node> gone;
    for (pugi::xml_node child : cell.children()) {
        if (isNamed(child, "w:tcPr") || isMark(child))
            continue;
        if (child != first) {
            gone.push_back(child);
            for (pugi::xml_node mark : descendantsNamed(child, "w:bookmarkStart"))
                marks.push_back(mark);
            for (pugi::xml_node mark : descendantsNamed(child, "w:bookmarkEnd"))
                marks.push_back(mark);
        }
    }
    for (pugi::xml_node child : first.children())
        if (!isNamed(child, "w:pPr") && !isMark(child))
            gone.push_back(child);
    for (pugi::xml_node mark : marks)
        first.append_move(mark);
    for (pugi::xml_node node : gone)
        state.retire(node);

    const auto lines = paragraphsOf(text);
    pugi::xml_node paragraph = first;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            paragraph = cell.insert_child_after("w:p", paragraph);
            if (pugi::xml_node pPr = first.child("w:pPr"))
                paragraph.append_copy(pPr);
        }
        if (!lines[i].empty())
            insertRun(paragraph, pugi::xml_node(), lines[i], properties);
    }
    return true;
}

bool replaceBookmarkText(DocxDocumentState &state, pugi::xml_node start, pugi::xml_node end,
                         std::string_view text)
{
    if (!isDocumentText(text) || start.parent() != end.parent() || !isNamed(start.parent(), "w:p"))
        return false;
    std::vector<pugi::xml_node> gone;
    pugi::xml_node at = start.next_sibling();
    for (; at && at != end; at = at.next_sibling())
        gone.push_back(at);
    if (at != end)
        return false; // the end mark comes before the start
    pugi::xml_document keep;
    pugi::xml_node properties;
    for (pugi::xml_node node : gone)
        if (!properties && isNamed(node, "w:r") && node.child("w:rPr"))
            properties = keep.append_copy(node.child("w:rPr"));
    for (pugi::xml_node node : gone)
        state.retire(node);
    if (!text.empty())
        insertRun(start.parent(), start, text, properties);
    return true;
}

void emptyCell(pugi::xml_node cell)
{
    pugi::xml_node first = cell.child("w:p");
    std::vector<pugi::xml_node> gone;
    for (pugi::xml_node child : cell.children())
        if (!isNamed(child, "w:tcPr") && child != first)
            gone.push_back(child);
    if (first)
        for (pugi::xml_node child : first.children())
            if (!isNamed(child, "w:pPr"))
                gone.push_back(child);
    for (pugi::xml_node node : gone)
        node.parent().remove_child(node);
    if (!first)
        cell.append_child("w:p");
}

} // namespace dorvane::docx
