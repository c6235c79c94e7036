#pragma once

#include "render/ReportChoices.h"

#include <string>

namespace dorvane {

class AnimationDocument;
class MessageSink;
class PipeRenderer;
class ProgressSink;

// The report of a survey written to output (.docx, or .doc and .pdf through
// LibreOffice): its texts and pictures, made in memory, filled into the
// template beside the program ("doc.templ", or "doc-en.templ" in English).
// The user is told why a report was not written (the output names the
// survey itself, or the picture's, template's, word processor's or filling's
// message, with the system's reason where it has one). True when the report
// was written. The 3D views come from renderer when it holds this survey's
// model; the frames are drawn in the chosen look, the defects graded by the
// chosen table, and the survey date and company are the chosen texts.
bool writeReport(const AnimationDocument &document, const std::string &output, bool english,
                 ProgressSink *progress, MessageSink &messages, PipeRenderer *renderer = nullptr,
                 const ReportChoices &choices = {});

} // namespace dorvane
