#pragma once

#include "core/base/AtomicFile.h"
#include "core/base/PosixFile.h"
#include "core/data/AnimationFileHeader.h"
#include "core/data/FrameRecord.h"

#include <optional>
#include <string>

namespace dorvane {

class MessageSink;
class ProgressSink;

// Frame i of an animation file starts at 1024 + i * 100,512.
constexpr uint64_t frameOffset(int index)
{
    return AnimationFileHeader::Size + static_cast<uint64_t>(index) * FrameRecord::Size;
}

// The number of whole frames in an animation file of the given size; empty
// when the size is 1024 or less (not an animation at all). A trailing partial
// record does not count.
std::optional<int> frameCountForSize(uint64_t size);

// Opens the temporary file that will replace destination, a survey being
// written whole. The stale temporary files removed beside it are named to
// the user; a destination another program is writing is refused with a text
// of its own, any other failure with failureText and the system's reason.
bool openSurveyReplacement(AtomicFile &file, const std::string &destination, MessageSink &messages,
                           int failureText, const AtomicFile::Options &options = {});

// An animation file (*.Imv) held open: a 1024-byte file header, then frame
// records back to back. Headers are rewritten in place; samples never are.
class AnimationFile
{
public:
    bool open(const std::string &path, PosixFile::Mode mode = PosixFile::Mode::ReadWrite);
    void close() { m_file.close(); }
    bool isOpen() const { return m_file.isOpen(); }
    PosixFile &file() { return m_file; }
    const PosixFile &file() const { return m_file; }

    // Reads frame index: its header (when header is given; the signature must
    // be 73) and then sampleBytes samples (when samples is given). Without a
    // header only the samples are read.
    bool readFrame(int index, FrameHeader *header, uint8_t *samples, size_t sampleBytes) const;
    bool readFrame(int index, FrameRecord &record) const;
    bool readFrameHeader(int index, FrameHeader &header) const;

    // Writes the 512 header bytes of frame index in place; tells the user
    // when it fails.
    bool writeFrameHeader(int index, const FrameHeader &header, MessageSink &messages);
    bool writeFileHeader(const AnimationFileHeader &header);

    // Writes fileHeader and then every one of the first frameCount frames
    // except skipIndex (any index outside 0..frameCount-1 skips none) to
    // destination, in order, posting progress after each frame. The copy
    // replaces destination whole (see AtomicFile), which may be this very
    // file (the caller then holds its lock: ownLock); a copy that fails
    // leaves no file behind. A destination another program is writing is
    // refused; stale temporary files beside it are removed and named.
    bool copyAnimation(const std::string &destination, const AnimationFileHeader &fileHeader,
                       int frameCount, int skipIndex, ProgressSink *progress, MessageSink &messages,
                       bool ownLock = false) const;

private:
    PosixFile m_file;
};

} // namespace dorvane
