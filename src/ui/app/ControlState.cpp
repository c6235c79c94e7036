#include "ui/app/ControlState.h"

namespace dorvane {

ControlState controlStateFor(const SessionFacts &facts)
{
    ControlState state;
    // Nothing can start inside another operation's progress loop.
    state.windowEnabled = !facts.busy;
    // Playback stays with pending edits: using it asks the save question.
    state.saveShown = facts.modified;
    state.playbackEnabled = facts.open;
    state.surveyPanelsEnabled = facts.open;
    // Playback must not edit the frames it shows, and nothing may be edited
    // that could never be saved.
    state.propertiesReadOnly = facts.playing || !facts.writable;
    state.pipeAttributesReadOnly = !facts.writable;
    state.viewToolsLocked = !facts.open || facts.playing || !facts.writable;
    // An IMG file has no animation file to copy.
    state.saveAsEnabled = facts.open && facts.animationFile;
    state.exportsEnabled = facts.open;
    return state;
}

} // namespace dorvane
