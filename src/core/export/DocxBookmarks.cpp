#include "core/export/DocxBookmarks.h"

#include "core/export/DocxBookmark.h"
#include "core/export/DocxDocumentState.h"
#include "core/export/DocxNodes.h"

#include <cctype>
#include <cstring>

namespace dorvane {

namespace {

bool sameName(const char *a, const std::string &b)
{
    size_t i = 0;
    for (; a[i] && i < b.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return !a[i] && i == b.size();
}

} // namespace

DocxBookmarks::DocxBookmarks(std::shared_ptr<DocxDocumentState> state) : m_state(std::move(state))
{}

std::unique_ptr<WordBookmark> DocxBookmarks::item(const std::string &name)
{
    const pugi::xml_node body = m_state->body();
    if (!body || name.empty())
        return nullptr;
    for (pugi::xml_node start : docx::descendantsNamed(body, "w:bookmarkStart")) {
        if (!sameName(start.attribute("w:name").value(), name))
            continue;
        const char *id = start.attribute("w:id").value();
        const pugi::xml_node after = docx::nextAfterSubtree(body);
        for (pugi::xml_node at = docx::nextNode(start); at && at != after; at = docx::nextNode(at))
            if (docx::isNamed(at, "w:bookmarkEnd") &&
                std::strcmp(at.attribute("w:id").value(), id) == 0)
                return std::make_unique<DocxBookmark>(m_state, start, at);
        return nullptr;
    }
    return nullptr;
}

} // namespace dorvane
