#include "ui/app/ControlState.h"

namespace dorvane {

ControlState controlStateFor(const SessionFacts &facts)
{
    ControlState state;
    // Nothing can start inside another operation's progress loop.
    state.windowEnabled = !facts.busy;
    // Pending edits are saved or discarded before the frame can change.
    state.playbackShown = !facts.modified;
    state.saveShown = facts.modified;
    state.playbackEnabled = facts.open;
    state.surveyPanelsEnabled = facts.open;
    // Playback must not edit the frames it shows, and nothing may be edited
    // that could never be saved.
    state.propertiesReadOnly = facts.playing || !facts.writable;
    state.pipeAttributesReadOnly = !facts.writable;
    state.viewToolsLocked = !facts.open || facts.playing || !facts.writable;
    state.saveAsEnabled = facts.open;
    state.exportsEnabled = facts.open;
    return state;
}

} // namespace dorvane
