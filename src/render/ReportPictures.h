#pragma once

#include "core/assess/ConditionAssessment.h"
#include "core/export/RgbPicture.h"
#include "render/FrameViewLook.h"

namespace dorvane {

class AnimationDocument;
class MessageSink;
class PipeRenderer;
class ProgressSink;
struct ReportContent;

// Draws the report's pictures into content: the sediment chart (450 x 300),
// the 3D model from the centre, outside, inside and far viewpoints, and each
// frame marked for the report as the frame view shows it with its texts
// (500 x 500), in frame order, in the frame view's look, each with its
// caption (frame number counted from 1 and cable length), or the sentence
// that says no frame is marked. Frames are read from
// the file; nothing the windows show changes. Progress rises from 1 to 9 of
// 100.
//
// False after telling the user why ("error reading the file data", "3D
// initialisation failed"); a 3D picture that cannot be rendered fails
// without a word.
//
// The 3D views are drawn by renderer when one is given that holds this
// survey's model (its camera, band and fill are restored afterwards), else by
// a renderer of their own.
bool buildReportPictures(const AnimationDocument &document, ReportContent &content,
                         ProgressSink *progress, MessageSink &messages,
                         PipeRenderer *renderer = nullptr, const FrameViewLook &look = {});

// The assessment chart of the report's condition section, 960 x 400, as the
// window's assessment page draws it, without a current frame.
RgbPicture assessmentChartPicture(const ConditionAssessment &assessment,
                                  const std::vector<float> &cableLengths,
                                  const GradingTable &grades, bool english);

} // namespace dorvane
