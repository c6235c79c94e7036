#pragma once

#include <QIcon>

namespace dorvane {

enum class ToolIcon
{
    Acquire,
    Import,
    Open,
    SaveAs,
    Screenshot,
    Video,
    Report,
    AnimationView,
    StrokeView,
    View3D,
    Properties,
    PipeAttributes,
    Settings,
    Help,
    Save,
    Discard,
    PlayBackward,
    Pause,
    PlayForward,
    ApplyAll,
    ApplyBefore,
    ApplyAfter,
    Delete,
    Grid,
    Grey,
    Restore,
    Curve,
    Program, // the window's own icon
    MoveUp,
    MoveDown,
    Stop,
    ZeroDistance,
    FixedCamera,
    Assessment,
    Library,
};

// The program's button pictures, drawn as simple line icons.
QIcon toolIcon(ToolIcon icon);

} // namespace dorvane
