#pragma once

namespace dorvane {

// The facts the whole window's controls follow.
struct SessionFacts
{
    bool open = false;          // a survey is open
    bool writable = false;      // its edits can be saved (not read-only, not an IMG file)
    bool animationFile = false; // an animation file is behind it (not an IMG file)
    bool modified = false;      // it has edits that are not saved
    bool playing = false;       // playback runs
    bool busy = false;          // a long operation runs

    friend bool operator==(const SessionFacts &, const SessionFacts &) = default;
};

// The visibility and enabled state of every control of the main window.
struct ControlState
{
    bool windowEnabled = true;
    bool playbackEnabled = false;        // play buttons, slider and defect strip
    bool saveShown = false;              // save and discard buttons
    bool surveyPanelsEnabled = false;    // graphics, stroke, 3D, property and pipe pages
    bool propertiesReadOnly = false;     // the property page only shows
    bool pipeAttributesReadOnly = false; // the pipe attributes page only shows
    bool viewToolsLocked = true;         // circle tool, ruler and wheel on the views
    bool saveAsEnabled = false;
    bool exportsEnabled = false; // screenshot, video and report

    friend bool operator==(const ControlState &, const ControlState &) = default;
};

// The one place where the controls' state is worked out.
ControlState controlStateFor(const SessionFacts &facts);

} // namespace dorvane
