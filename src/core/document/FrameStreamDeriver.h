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
class FrameStreamDeriver
{
public:
    static constexpr int ChunkFrames = 4;

    // Fills derived[0..frameCount-1] and leaves the last frame in last. Stops
    // at the first frame that cannot be read whole or lacks its signature and
    // returns how many frames were derived before it.
    static int derive(const PosixFile &file, int frameCount, DerivedFrames &derived,
                      FrameRecord &last, ProgressScope &progress);
};

} // namespace dorvane
