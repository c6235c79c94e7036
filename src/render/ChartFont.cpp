#include "render/ChartFont.h"

namespace dorvane {

const QFont &chartFont()
{
    static const QFont font = [] {
        QFont f(QStringLiteral("WenQuanYi Micro Hei"));
        f.setPixelSize(12);
        return f;
    }();
    return font;
}

} // namespace dorvane
