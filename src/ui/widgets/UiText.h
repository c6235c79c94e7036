#pragma once

#include <QString>

namespace dorvane {

// A text of the text table as a QString.
QString uiText(int id);
// A text of the built-in table, whatever the language.
QString builtinUiText(int id);
// A GBK text from a file or header, for display.
QString fromGbk(std::string_view gbk);
// A displayed text as GBK, for a file or header.
std::string toGbk(const QString &text);

} // namespace dorvane
