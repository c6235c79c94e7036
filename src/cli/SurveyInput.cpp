#include "SurveyInput.h"

#include "app/MessageSink.h"
#include "app/TextIds.h"
#include "data/ImgFile.h"

namespace dorvane::cli {

std::optional<SurveyInput> SurveyInput::open(const std::string &path, MessageSink &messages)
{
    SurveyInput input;
    if (!input.m_file.open(path, PosixFile::Mode::Read)) {
        messages.showMessage(text::OpenFileFailed);
        return std::nullopt;
    }
    const auto size = input.m_file.file().size();
    auto &header = input.m_fileHeader.bytes();
    if (!size || *size <= AnimationFileHeader::Size ||
        !input.m_file.file().readAt(0, header.data(), header.size())) {
        messages.showMessage(text::IllegalFileFormat);
        return std::nullopt;
    }
    if (!input.m_fileHeader.isAnimation()) {
        input.m_file.close();
        input.m_imgFrame = std::make_shared<FrameRecord>();
        if (!readImgFrame(path, *input.m_imgFrame)) {
            messages.showMessage(text::ImgFileError);
            return std::nullopt;
        }
        input.m_fileHeader = AnimationFileHeader::newAnimation();
        input.m_frameCount = 1;
        return input;
    }
    input.m_frameCount = frameCountForSize(*size).value_or(0);
    if (input.m_frameCount == 0) {
        messages.showMessage(text::FileDataError);
        return std::nullopt;
    }
    return input;
}

bool SurveyInput::readHeader(int index, FrameHeader &header) const
{
    if (m_imgFrame) {
        header = m_imgFrame->header;
        return index == 0;
    }
    return m_file.readFrameHeader(index, header);
}

bool SurveyInput::readFrame(int index, FrameRecord &frame) const
{
    if (m_imgFrame) {
        frame = *m_imgFrame;
        return index == 0;
    }
    return m_file.readFrame(index, frame);
}

} // namespace dorvane::cli
