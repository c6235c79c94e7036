#include "ui/app/WindowMemory.h"

#include <QSettings>
#include <QWidget>

namespace dorvane {

namespace {

const char *const GeometryKey = "window/geometry";
const char *const ViewKey = "window/view";

bool isView(int page)
{
    return page == static_cast<int>(ToolPanel::Page::Animation) ||
           page == static_cast<int>(ToolPanel::Page::Stroke) ||
           page == static_cast<int>(ToolPanel::Page::View3D);
}

} // namespace

void WindowMemory::store(const QWidget &window, ToolPanel::Page view)
{
    QSettings settings;
    settings.setValue(GeometryKey, window.saveGeometry());
    if (isView(static_cast<int>(view)))
        settings.setValue(ViewKey, static_cast<int>(view));
    settings.sync();
}

void WindowMemory::restoreGeometry(QWidget &window)
{
    const QByteArray geometry = QSettings().value(GeometryKey).toByteArray();
    if (!geometry.isEmpty())
        window.restoreGeometry(geometry);
}

std::optional<ToolPanel::Page> WindowMemory::view()
{
    bool ok = false;
    const int page = QSettings().value(ViewKey).toInt(&ok);
    if (!ok || !isView(page))
        return std::nullopt;
    return static_cast<ToolPanel::Page>(page);
}

} // namespace dorvane
