#pragma once

#include "ui/app/ToolPanel.h"

#include <optional>

class QWidget;

namespace dorvane {

// Where the main window stood and which view it showed (animation, stroke
// or 3D), kept between runs in the program's settings.
class WindowMemory
{
public:
    static void store(const QWidget &window, ToolPanel::Page view);
    static void restoreGeometry(QWidget &window);
    // The view shown last; none before the first run has ended.
    static std::optional<ToolPanel::Page> view();
};

} // namespace dorvane
