#pragma once

#include <pugixml.hpp>
#include <vector>

// Walking the main part's element tree in document order. Element names are
// compared with their usual prefixes ("w:p", "wp:inline"), as every word
// processor writes them.
namespace dorvane::docx {

// The node after node in document order: its first child, else the next
// node after its subtree.
pugi::xml_node nextNode(pugi::xml_node node);
// The first node after node's subtree in document order.
pugi::xml_node nextAfterSubtree(pugi::xml_node node);
// The nearest ancestor (not node itself) of that name.
pugi::xml_node ancestorNamed(pugi::xml_node node, const char *name);
bool isInside(pugi::xml_node node, pugi::xml_node ancestor);
// The elements of that name within node, in document order.
std::vector<pugi::xml_node> descendantsNamed(pugi::xml_node node, const char *name);
// The element children of that name, in order.
std::vector<pugi::xml_node> childrenNamed(pugi::xml_node node, const char *name);
bool isNamed(pugi::xml_node node, const char *name);

} // namespace dorvane::docx
