#pragma once

#include "core/data/AnimationFileHeader.h"

#include <string>
#include <vector>

namespace dorvane {

class MessageSink;
class ProgressSink;

// Writes IMG files, in the order given, as the frames of a new animation
// file with the given file header (its magic is set). The file appears
// whole or not at all. When an item cannot be read ("IMG文件错误", as is an
// animation file in the list) nothing is left and failedItem says which
// item it was; progress runs (0, n) .. (i, n) .. (1, 1), (-1, -1).
bool importImgFiles(const std::vector<std::string> &imgPaths, const AnimationFileHeader &fileHeader,
                    const std::string &destination, ProgressSink *progress, MessageSink &messages,
                    int *failedItem = nullptr);

} // namespace dorvane
