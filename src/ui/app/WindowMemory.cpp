#include "ui/app/WindowMemory.h"

#include <QSettings>
#include <QWidget>

namespace dorvane {

namespace {

const char *const GeometryKey = "window/geometry";
const char *const ViewKey = "window/view";

} // namespace

void WindowMemory::store(const QWidget &window, ToolPanel::Page view)
{
    QSettings settings;
    settings.setValue(GeometryKey, window.saveGeometry());
    if (ToolPanel::isViewPage(view))
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
    const auto view = static_cast<ToolPanel::Page>(page);
    if (!ok || !ToolPanel::isViewPage(view))
        return std::nullopt;
    return view;
}

} // namespace dorvane
