#pragma once

#include "data/AnimationFile.h"

#include <memory>
#include <optional>
#include <string>

namespace dorvane {
class MessageSink;
}

namespace dorvane::cli {

// A survey file opened for reading: an animation file, or an IMG file read as
// a one-frame survey.
class SurveyInput
{
public:
    // Classifies the file by its first two bytes; tells the user why it cannot
    // be read.
    static std::optional<SurveyInput> open(const std::string &path, MessageSink &messages);

    int frameCount() const { return m_frameCount; }
    const AnimationFileHeader &fileHeader() const { return m_fileHeader; }
    bool readHeader(int index, FrameHeader &header) const;
    bool readFrame(int index, FrameRecord &frame) const;

private:
    AnimationFile m_file;
    AnimationFileHeader m_fileHeader;
    int m_frameCount = 0;
    std::shared_ptr<FrameRecord> m_imgFrame; // the frame of an IMG file
};

} // namespace dorvane::cli
