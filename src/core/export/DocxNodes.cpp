#include "core/export/DocxNodes.h"

#include <cstring>

namespace dorvane::docx {

pugi::xml_node nextNode(pugi::xml_node node)
{
    if (pugi::xml_node child = node.first_child())
        return child;
    return nextAfterSubtree(node);
}

pugi::xml_node nextAfterSubtree(pugi::xml_node node)
{
    for (; node; node = node.parent())
        if (pugi::xml_node sibling = node.next_sibling())
            return sibling;
    return {};
}

pugi::xml_node ancestorNamed(pugi::xml_node node, const char *name)
{
    for (node = node.parent(); node; node = node.parent())
        if (isNamed(node, name))
            return node;
    return {};
}

bool isInside(pugi::xml_node node, pugi::xml_node ancestor)
{
    for (node = node.parent(); node; node = node.parent())
        if (node == ancestor)
            return true;
    return false;
}

std::vector<pugi::xml_node> descendantsNamed(pugi::xml_node node, const char *name)
{
    std::vector<pugi::xml_node> found;
    const pugi::xml_node end = nextAfterSubtree(node);
    for (pugi::xml_node at = nextNode(node); at && at != end; at = nextNode(at))
        if (isNamed(at, name))
            found.push_back(at);
    return found;
}

std::vector<pugi::xml_node> childrenNamed(pugi::xml_node node, const char *name)
{
    std::vector<pugi::xml_node> found;
    for (pugi::xml_node child : node.children(name))
        found.push_back(child);
    return found;
}

bool isNamed(pugi::xml_node node, const char *name)
{
    return node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
}

} // namespace dorvane::docx
