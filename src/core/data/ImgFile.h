#pragma once

#include "core/data/FrameRecord.h"

#include <span>
#include <string>

namespace dorvane {

class MessageSink;
class PosixFile;

// A probe image file (*.img): a 402-byte header, then 100,000 samples in the
// same beam-major order as a frame record.
struct ImgLayout
{
    static constexpr size_t HeaderSize = 402;
    static constexpr uint16_t Magic = 19785; // "IM"
};

// The frame header an IMG header maps onto.
FrameHeader frameHeaderFromImg(std::span<const uint8_t, ImgLayout::HeaderSize> img);

// Reads an IMG file into record. On any failure the record is cleared and
// false is returned.
bool readImgFrame(const std::string &path, FrameRecord &record);

// Reads an IMG file and writes it as one frame record at the current position
// of out. Tells the user when the IMG file is bad or the write fails.
bool appendImgFrame(const std::string &path, PosixFile &out, MessageSink &messages);

} // namespace dorvane
