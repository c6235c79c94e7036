#include "ui/widgets/UiText.h"

#include "core/app/BuiltinTexts.h"
#include "core/app/TextService.h"
#include "core/base/GbkText.h"

namespace dorvane {

QString uiText(int id)
{
    return QString::fromStdString(loadText(id));
}

QString builtinUiText(int id)
{
    const std::string_view text = builtinText(id);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString fromGbk(std::string_view gbk)
{
    return QString::fromStdString(gbkToUtf8(gbk));
}

std::string toGbk(const QString &text)
{
    return utf8ToGbk(text.toStdString());
}

} // namespace dorvane
