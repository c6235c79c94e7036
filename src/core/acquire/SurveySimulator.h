#pragma once

#include "core/data/AnimationFileHeader.h"
#include "core/data/FrameRecord.h"

#include <cstdint>
#include <string>

namespace dorvane {

class MessageSink;
class ProgressSink;

// Makes realistic synthetic surveys: a pipe-wall echo ring at the pipe radius
// with speckle, weaker clutter in the water, sediment in the pipe bottom whose
// depth varies smoothly along the pipe (with clean stretches), the cable
// paid out about 0.1 m a frame, and a slowly swaying probe. Every frame is a
// pure function of the seed and its index.
class SurveySimulator
{
public:
    struct Options
    {
        uint64_t seed = 1;
        int detectRadius = 1000; // mm
        int pipeRadius = 600;    // mm
    };

    explicit SurveySimulator(const Options &options);

    AnimationFileHeader fileHeader() const;
    void makeFrame(int index, FrameRecord &frame) const;

    // The simulated truth at a frame, in millimetres.
    double sedimentDepthMm(int index) const;
    float cableLength(int index) const;

private:
    double unitNoise(uint64_t a, uint64_t b) const;

    Options m_options;
    double m_phase[4];
    float m_cableStart;
};

// Writes a simulated survey of frameCount frames to path, posting progress
// after each frame. Tells the user when the file cannot be made; a survey
// that fails is not left behind (see AtomicFile).
bool writeSimulatedSurvey(const std::string &path, const SurveySimulator &simulator, int frameCount,
                          ProgressSink *progress, MessageSink &messages);

} // namespace dorvane
