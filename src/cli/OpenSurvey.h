#pragma once

#include "cli/ConsoleSinks.h"
#include "core/document/AnimationDocument.h"

#include <memory>
#include <string>

namespace dorvane::cli {

// The message and progress sinks of a command and the survey it works on.
struct Session
{
    StderrMessageSink messages;
    StderrProgressSink progress;
    AnimationDocument document{messages};

    // Opens the survey; the document has told the user when it cannot.
    bool open(const std::string &path) { return document.open(path, &progress); }
    // The frame of the open survey; bad usage past its last frame.
    int frameIndex(int frame) const;
    // Opens the survey and makes the frame current.
    bool openAtFrame(const std::string &path, int frame);
    // Opens the survey to change it, locked from here to the end of the
    // command, and makes the frame current, as the window shows it before
    // an edit.
    bool openToEdit(const std::string &path, int frame);
};

} // namespace dorvane::cli
