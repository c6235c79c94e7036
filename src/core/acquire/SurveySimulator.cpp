#include "core/acquire/SurveySimulator.h"

#include "core/app/TextIds.h"
#include "core/base/AtomicFile.h"
#include "core/base/GbkText.h"
#include "core/base/MessageSink.h"
#include "core/base/ProgressSink.h"
#include "core/data/AnimationFile.h"
#include "core/display/PictureGeometry.h"
#include "core/display/RollShift.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

namespace dorvane {

namespace {

constexpr double Pi = std::numbers::pi;

// SplitMix64: small, fast and the same on every platform, so a seed always
// gives the same survey.
class Random
{
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

private:
    uint64_t m_state;
};

uint64_t mix(uint64_t a, uint64_t b)
{
    return Random(a * 0x100000001B3ull ^ (b + 0x9E3779B97F4A7C15ull)).next();
}

// Distance from p along the unit direction d to the circle of radius r around
// the origin, for p inside the circle.
double distanceToCircle(double px, double py, double dx, double dy, double r)
{
    const double b = px * dx + py * dy;
    const double c = px * px + py * py - r * r;
    return -b + std::sqrt(std::max(0.0, b * b - c));
}

uint8_t level(double v)
{
    return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
}

} // namespace

SurveySimulator::SurveySimulator(const Options &options) : m_options(options)
{
    Random random(mix(options.seed, 0xC0FFEE));
    for (double &phase : m_phase)
        phase = random.uniform() * 2 * Pi;
    m_cableStart = static_cast<float>(0.5 + 2.0 * random.uniform());
}

double SurveySimulator::unitNoise(uint64_t a, uint64_t b) const
{
    return Random(mix(m_options.seed, mix(a, b))).uniform();
}

AnimationFileHeader SurveySimulator::fileHeader() const
{
    AnimationFileHeader header = AnimationFileHeader::newAnimation();
    const int street = 1 + static_cast<int>(m_options.seed % 90);
    header.setPlace(utf8ToGbk("滨江路" + std::to_string(street) + "号 雨水管 Riverside Rd"));
    header.setStartWell("Y" + std::to_string(street * 2));
    header.setEndWell("Y" + std::to_string(street * 2 + 1));
    return header;
}

double SurveySimulator::sedimentDepthMm(int index) const
{
    // Three slow waves along the pipe; where their sum is negative the pipe
    // is clean.
    const double x = index * 0.1; // metres
    const double wave = 0.55 * std::sin(x / 9.0 + m_phase[0]) +
                        0.30 * std::sin(x / 3.7 + m_phase[1]) +
                        0.15 * std::sin(x / 1.3 + m_phase[2]) - 0.1;
    return std::max(0.0, wave) * 0.45 * m_options.pipeRadius;
}

float SurveySimulator::cableLength(int index) const
{
    const double jitter = (unitNoise(static_cast<uint64_t>(index), 1) - 0.5) * 0.01;
    return static_cast<float>(m_cableStart + index * 0.1 + jitter);
}

void SurveySimulator::makeFrame(int index, FrameRecord &frame) const
{
    frame.clear();
    FrameHeader &h = frame.header;
    const double t = index * 0.1;
    h.signature = FrameHeader::Signature;
    h.detectRadius = static_cast<uint16_t>(m_options.detectRadius);
    h.pipeRadius = static_cast<uint16_t>(m_options.pipeRadius);
    h.errorRate = 10;
    h.cableLength = cableLength(index);
    h.tilt = static_cast<float>(1.5 + 1.2 * std::sin(t / 2.3 + m_phase[3]));
    h.roll = static_cast<float>(3.5 * std::sin(t / 4.1 + m_phase[1]));
    h.setPipeName("DN" + std::to_string(m_options.pipeRadius * 2));
    h.circleX = PictureCentre.x;
    h.circleY = PictureCentre.y;
    // Now and then the operator has marked a frame.
    const double mark = unitNoise(static_cast<uint64_t>(index), 2);
    h.defectFrame = mark < 0.01 ? 1 : 0;
    h.reportShot = mark > 0.995 ? 1 : 0;

    Random random(mix(m_options.seed, static_cast<uint64_t>(index) + 17));
    const double mmPerSample = m_options.detectRadius / double{SamplesPerBeam};
    const double pipeRadius = m_options.pipeRadius;
    const double sediment = sedimentDepthMm(index);
    const double sedimentLevel = -pipeRadius + sediment; // y of the sediment surface
    // The probe hangs a little off the pipe's axis and sways.
    const double probeX = 0.02 * pipeRadius * std::sin(t / 1.7 + m_phase[2]);
    const double probeY = 0.02 * pipeRadius * std::cos(t / 2.9 + m_phase[0]);
    const int shift = rollShift(h.roll);

    for (int b = 0; b < BeamCount; ++b) {
        // A rolled probe sees bearing (b + shift) on its beam b.
        const double bearing = (b + shift) * 0.9 * Pi / 180.0;
        const double dx = std::sin(bearing), dy = std::cos(bearing);
        double range = distanceToCircle(probeX, probeY, dx, dy, pipeRadius);
        double strength = 205 + 35 * random.uniform();
        if (dy < 0 && sediment > 0) {
            const double toSediment = (sedimentLevel - probeY) / dy;
            if (toSediment > 0 && toSediment < range) {
                range = toSediment;
                strength = 150 + 40 * random.uniform(); // soft bottom echoes less
            }
        }
        const double wall = range / mmPerSample; // in samples
        uint8_t *beam = frame.samples.data() + b * SamplesPerBeam;
        for (int s = 0; s < SamplesPerBeam; ++s) {
            double v = 4 + 14 * random.uniform(); // water clutter
            if (s < 12)
                v += 170 * std::exp(-s / 4.0); // transducer ringing
            if (random.uniform() < 0.002)
                v += 30 + 60 * random.uniform(); // something floating by
            const double d = s - wall;
            if (std::fabs(d) < 4)
                v += strength * std::exp(-d * d / 2.5) * (0.8 + 0.4 * random.uniform());
            else if (d >= 4)
                v += 0.25 * strength * std::exp(-d / 12.0) * random.uniform();
            beam[s] = level(v);
        }
    }
}

bool writeSimulatedSurvey(const std::string &path, const SurveySimulator &simulator, int frameCount,
                          ProgressSink *progress, MessageSink &messages)
{
    ProgressScope scope(progress, frameCount);
    // A survey cut short would still open: it appears whole or not at all.
    AtomicFile file;
    if (!openSurveyReplacement(file, path, messages, text::CreateFileFailed))
        return false;
    PosixFile &out = file.file();
    const AnimationFileHeader fileHeader = simulator.fileHeader();
    bool ok = out.write(fileHeader.bytes().data(), fileHeader.bytes().size());
    auto frame = std::make_unique<FrameRecord>();
    for (int i = 0; ok && i < frameCount; ++i) {
        simulator.makeFrame(i, *frame);
        const auto header = frame->header.encoded();
        ok = out.write(header.data(), header.size()) &&
             out.write(frame->samples.data(), frame->samples.size());
        scope.step(i, frameCount);
    }
    ok = ok && file.commit();
    if (!ok) {
        messages.showMessage(text::SaveFileFailed);
        return false;
    }
    scope.complete();
    return true;
}

} // namespace dorvane
