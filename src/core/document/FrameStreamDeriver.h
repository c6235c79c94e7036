#pragma once

#include "core/document/DerivedFrames.h"

namespace dorvane {

class PosixFile;
class ProgressScope;

// Derives the values of every frame of an animation file, reading the file
// once. The frames are taken in chunks of records that two threads share
// turn about (the calling thread the even chunks, a helper the odd ones);
// each thread reads its chunk and analyses it while it is still in its cache.
// Progress (i, N) is posted from the calling thread after each frame, in frame
// order, exactly as a frame-by-frame pass posts it.
//
// The derived arrays grow as frames are read, growthFrames at a time (whole
// chunks), so a file whose size promises more frames than it holds costs no
// more memory than the frames it does hold.
class FrameStreamDeriver
{
public:
    static constexpr int ChunkFrames = 4;
    static constexpr int GrowthFrames = 4096;

    // Empties derived, fills derived[0..frameCount-1] and leaves the last
    // frame in last. Stops at the first frame that cannot be read whole or
    // lacks its signature and returns how many frames were derived before
    // it; derived then holds at least that many entries. Throws
    // std::bad_alloc when the arrays cannot grow and std::system_error when
    // the helper thread cannot start; the helper has stopped by then.
    static int derive(const PosixFile &file, int frameCount, DerivedFrames &derived,
                      FrameRecord &last, ProgressScope &progress, int growthFrames = GrowthFrames);
};

} // namespace dorvane
