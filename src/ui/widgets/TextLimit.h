#pragma once

#include <QString>

namespace dorvane {

// What a fixed text field of a file can take: at most maxChars characters
// typed and maxBytes bytes of GBK stored.
struct TextLimit
{
    int maxChars = 0;
    int maxBytes = 0;

    bool fits(const QString &text) const;
    // A change is taken when the result fits, or when it is no longer than
    // the text before it: a text read from a file may exceed the limit, and
    // the operator may still shorten it, but never lengthen it.
    bool accepts(const QString &before, const QString &after) const;
};

} // namespace dorvane
