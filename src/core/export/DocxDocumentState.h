#pragma once

#include "core/export/DocxPackage.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <vector>

namespace dorvane {

// One open document of the word-processing engine: its package, its main
// part parsed, the main part's relationships and the package's content
// types. Every object of the document (bookmarks, ranges, tables, cells,
// pictures) refers to nodes of the main part through it.
//
// Nodes taken out of the text are kept, detached from it, until the document
// closes, so that an object still holding one fails cleanly (isLive) instead
// of reaching freed memory.
class DocxDocumentState
{
public:
    // The document made from the template at path; null when the file is
    // missing, not a zip package, or has no readable word-processing text.
    static std::unique_ptr<DocxDocumentState> open(const std::string &templatePath);

    bool isOpen() const { return m_open; }
    void close();

    // The main part's body; null once closed.
    pugi::xml_node body() const;
    // True while the document is open and node is part of its text.
    bool isLive(pugi::xml_node node) const;
    // Takes node out of the text.
    void retire(pugi::xml_node node);

    // Adds a PNG picture as a part beside the main part; the relationship
    // id that refers to it, or nothing.
    std::optional<std::string> addPicture(std::vector<uint8_t> png);
    // A drawing identifier not used yet in the document.
    uint32_t newDrawingId() { return ++m_lastDrawingId; }
    // Declares the name spaces a picture's drawing uses on the main part's
    // root; false when a prefix is bound to something else.
    bool declarePictureNamespaces();

    // The document as a .docx package.
    std::optional<std::vector<uint8_t>> docxBytes();

private:
    DocxPackage m_package;
    std::string m_mainPart;
    std::string m_mainRelsPart;
    pugi::xml_document m_main;
    pugi::xml_document m_rels;
    pugi::xml_document m_types;
    pugi::xml_node m_removed;
    uint32_t m_lastDrawingId = 0;
    bool m_open = false;

    bool load(const std::string &templatePath);
    void storeParts();
};

} // namespace dorvane
