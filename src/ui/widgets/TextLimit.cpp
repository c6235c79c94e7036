#include "ui/widgets/TextLimit.h"

#include "ui/widgets/UiText.h"

namespace dorvane {

namespace {
int gbkBytes(const QString &text)
{
    return static_cast<int>(toGbk(text).size());
}
} // namespace

bool TextLimit::fits(const QString &text) const
{
    return text.size() <= maxChars && gbkBytes(text) <= maxBytes;
}

bool TextLimit::accepts(const QString &before, const QString &after) const
{
    if (fits(after))
        return true;
    return after.size() <= before.size() && gbkBytes(after) <= gbkBytes(before);
}

} // namespace dorvane
