#pragma once

#include "core/data/FrameHeader.h"

#include <array>
#include <cstdint>

namespace dorvane {

// One cross-section: 400 beams of 250 echo samples, beam-major (sample s of
// beam b is byte b * 250 + s).
constexpr int BeamCount = 400;
constexpr int SamplesPerBeam = 250;
constexpr int SampleCount = BeamCount * SamplesPerBeam;

// A frame header and its samples, owned by value: 100,512 bytes on disk.
struct FrameRecord
{
    static constexpr size_t Size = FrameHeader::Size + SampleCount;

    FrameHeader header;
    std::array<uint8_t, SampleCount> samples{};

    // Sets every byte of header and samples to zero.
    void clear();
};

static_assert(FrameRecord::Size == 100512);

} // namespace dorvane
