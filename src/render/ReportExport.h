#pragma once

#include <string>

namespace dorvane {

class AnimationDocument;
class MessageSink;
class PipeRenderer;
class ProgressSink;

// The report of a survey written to output (.docx, or .doc and .pdf through
// LibreOffice): its pictures made in a private folder of their own, the
// template copied there ("doc.templ", or "doc-en.templ" in English), the
// texts and the filled document. The folder goes whatever happens. The user
// is told why a report was not written (the picture's, template's, word
// processor's or filling's message). True when the report was written.
// The 3D views come from renderer when it holds this survey's model.
bool writeReport(const AnimationDocument &document, const std::string &output, bool english,
                 ProgressSink *progress, MessageSink &messages, PipeRenderer *renderer = nullptr);

} // namespace dorvane
