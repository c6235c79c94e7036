#pragma once

#include <string>

namespace dorvane {

class AnimationDocument;
class MessageSink;
class PipeRenderer;
class ProgressSink;

// Writes the report's pictures as 24-bit BMP files named by their number in
// folder: 0 the sediment chart (450 x 300), 1..4 the 3D model from the
// centre, outside, inside and far viewpoints, then each frame marked for the
// report as the frame view shows it with its texts (500 x 500), in frame
// order. Frames are read from the file; nothing the windows show changes.
// Progress runs from 1 to 10 of 100.
//
// Returns the number of pictures (at least 5), or -1 after telling the user
// why ("saving the BMP file failed", "error reading the file data", "3D
// initialisation failed"); a 3D picture that cannot be saved fails without a
// word. Pictures written before a failure stay.
//
// The 3D views are drawn by renderer when one is given that holds this
// survey's model (its camera, band and fill are restored afterwards), else by
// a renderer of their own.
int buildReportPictures(const AnimationDocument &document, const std::string &folder,
                        ProgressSink *progress, MessageSink &messages,
                        PipeRenderer *renderer = nullptr);

} // namespace dorvane
