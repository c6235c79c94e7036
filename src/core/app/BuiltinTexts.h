#pragma once

#include <string_view>
#include <vector>

namespace dorvane {

// The built-in (Chinese) text of an id, UTF-8; empty when the table has none.
std::string_view builtinText(int id);

// Every id of the built-in table, ascending.
std::vector<int> builtinTextIds();

} // namespace dorvane
