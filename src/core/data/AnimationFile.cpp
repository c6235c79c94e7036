#include "core/data/AnimationFile.h"

#include "core/app/TextIds.h"
#include "core/base/AtomicFile.h"
#include "core/base/ByteOrder.h"
#include "core/base/MessageSink.h"
#include "core/base/ProgressSink.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <vector>

namespace dorvane {

std::optional<int> frameCountForSize(uint64_t size)
{
    if (size <= AnimationFileHeader::Size)
        return std::nullopt;
    const uint64_t n = (size - AnimationFileHeader::Size) / FrameRecord::Size;
    return static_cast<int>(std::min<uint64_t>(n, INT_MAX));
}

bool AnimationFile::open(const std::string &path, PosixFile::Mode mode)
{
    return m_file.open(path, mode);
}

bool AnimationFile::readFrame(int index, FrameHeader *header, uint8_t *samples,
                              size_t sampleBytes) const
{
    if (index < 0 || !m_file.isOpen())
        return false;
    sampleBytes = std::min<size_t>(sampleBytes, SampleCount);
    if (!header)
        return !samples ||
               m_file.readAt(frameOffset(index) + FrameHeader::Size, samples, sampleBytes);

    std::array<uint8_t, FrameHeader::Size> bytes;
    if (!m_file.readAt(frameOffset(index), bytes.data(), bytes.size()))
        return false;
    *header = FrameHeader::decode(bytes);
    if (header->signature != FrameHeader::Signature)
        return false;
    return !samples || m_file.readAt(frameOffset(index) + FrameHeader::Size, samples, sampleBytes);
}

bool AnimationFile::readFrame(int index, FrameRecord &record) const
{
    return readFrame(index, &record.header, record.samples.data(), record.samples.size());
}

bool AnimationFile::readFrameHeader(int index, FrameHeader &header) const
{
    return readFrame(index, &header, nullptr, 0);
}

bool AnimationFile::writeFrameHeader(int index, const FrameHeader &header, MessageSink &messages)
{
    const auto bytes = header.encoded();
    if (index < 0 || !m_file.writeAt(frameOffset(index), bytes.data(), bytes.size())) {
        messages.showMessage(text::SaveFileFailed, systemErrorText(m_file.lastError()));
        return false;
    }
    return true;
}

bool AnimationFile::writeFileHeader(const AnimationFileHeader &header)
{
    return m_file.writeAt(0, header.bytes().data(), header.bytes().size());
}

bool openSurveyReplacement(AtomicFile &file, const std::string &destination, MessageSink &messages,
                           int failureText, const AtomicFile::Options &options)
{
    const bool opened = file.open(destination, options);
    for (const std::string &removed : file.removedStale())
        messages.showMessage(text::StaleTemporaryRemoved, removed);
    if (opened)
        return true;
    if (file.lastError() == EWOULDBLOCK)
        messages.showMessage(text::BeingChangedElsewhere, destination);
    else
        messages.showMessage(failureText, systemErrorText(file.lastError()));
    return false;
}

bool AnimationFile::copyAnimation(const std::string &destination,
                                  const AnimationFileHeader &fileHeader, int frameCount,
                                  int skipIndex, ProgressSink *progress, MessageSink &messages,
                                  bool ownLock) const
{
    ProgressScope scope(progress, frameCount);
    // A copy cut short would open as a shorter survey: the copy appears whole
    // or not at all.
    AtomicFile copy;
    AtomicFile::Options options;
    options.lockDestination = !ownLock;
    if (!openSurveyReplacement(copy, destination, messages, text::CreateFileFailed, options))
        return false;
    PosixFile &out = copy.file();
    if (!out.write(fileHeader.bytes().data(), fileHeader.bytes().size())) {
        messages.showMessage(text::SaveFileFailed, systemErrorText(out.lastError()));
        return false;
    }

    std::vector<uint8_t> record(FrameRecord::Size);
    for (int i = 0; i < frameCount; ++i) {
        if (i != skipIndex) {
            if (!m_file.readAt(frameOffset(i), record.data(), record.size()) ||
                le::readU16(record.data()) != FrameHeader::Signature) {
                messages.showMessage(text::ReadFileDataError);
                return false;
            }
            if (!out.write(record.data(), record.size())) {
                messages.showMessage(text::SaveFileFailed, systemErrorText(out.lastError()));
                return false;
            }
        }
        scope.step(i, frameCount);
    }
    if (!copy.commit()) {
        messages.showMessage(text::SaveFileFailed, systemErrorText(copy.lastError()));
        return false;
    }
    scope.complete();
    return true;
}

} // namespace dorvane
