#pragma once

#include "core/data/AnimationFileHeader.h"

#include <string>
#include <vector>

namespace dorvane {

class MessageSink;
class ProgressSink;

// Writes IMG files, in the order given, as the frames of a new animation
// file with the given file header (its magic is set). The file appears
// whole or not at all (see AtomicFile). A destination that reaches one of
// the IMG files, under any name, is refused ("不能将数据另存到当前打开的动画文件") and
// nothing is written. When an item cannot be added
// ("IMG文件错误", as for an animation file in the list, or "保存文件失败"
// when writing fails) nothing is left and failedItem says which item it
// was; it is -1 when the output itself failed. Progress runs (0, n), then
// (i, n) before item i, (1, 1) once complete and (-1, -1) at the end.
bool importImgFiles(const std::vector<std::string> &imgPaths, const AnimationFileHeader &fileHeader,
                    const std::string &destination, ProgressSink *progress, MessageSink &messages,
                    int *failedItem = nullptr);

} // namespace dorvane
