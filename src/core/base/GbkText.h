#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dorvane {

// Texts in files and frame headers are GBK. On screen and in the batch tool
// they are UTF-8.

// Decodes GBK into valid UTF-8. A byte sequence that is not GBK becomes
// U+FFFD; a two-byte character cut off at the end of the text is dropped.
std::string gbkToUtf8(std::string_view gbk);

// Encodes UTF-8 as GBK. Characters GBK cannot hold become '?'.
std::string utf8ToGbk(std::string_view utf8);

// The longest prefix of a GBK text that fits maxBytes without cutting a
// two-byte character in half.
std::string_view fitGbk(std::string_view gbk, size_t maxBytes);

// Number of characters in a GBK text (a two-byte character counts once).
size_t gbkCharacterCount(std::string_view gbk);

} // namespace dorvane
