#include "core/view3d/PipeMesh.h"

#include "core/base/ProgressSink.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <new>
#include <numbers>

namespace dorvane {

namespace {

constexpr int Columns = PipeMesh::RingVertices;
constexpr size_t PipeRadiusEntry = BeamCount;
constexpr size_t ErrorRateEntry = BeamCount + 1;

// A strip needs two columns and is ended by a column that is not built, so a
// band holds at most one run per three columns.
constexpr size_t MaxRunsPerBand = (Columns + 1) / 3;
// Beyond this the progress total (2N) or the run offsets would overflow; the
// vertices of such a survey alone would take over 400 GB.
constexpr size_t MaxFrames = std::min<size_t>(INT_MAX / 2, UINT32_MAX / MaxRunsPerBand);

// The columns stand 2π/201 apart and the last one closes the ring at the
// first one's angle, so the closing segment spans two steps.
struct RingAngles
{
    std::array<float, Columns> sine{};
    std::array<float, Columns> cosine{};
};

RingAngles ringAngles()
{
    RingAngles angles;
    const float step = 2.0f * std::numbers::pi_v<float> / static_cast<float>(Columns);
    for (int j = 0; j < Columns; ++j) {
        const float theta = j == Columns - 1 ? 0.0f : static_cast<float>(j) * step;
        angles.sine[static_cast<size_t>(j)] = std::sin(theta);
        angles.cosine[static_cast<size_t>(j)] = std::cos(theta);
    }
    return angles;
}

// Every other beam makes a column; the last column takes beam 0 again.
constexpr size_t beamOfColumn(int j)
{
    return j == Columns - 1 ? 0 : static_cast<size_t>(2 * j);
}

// A wall within 2 % of the pipe radius is always shown; beyond that, up to
// the frame's error rate either way. Signed, so that a rate above 100 takes
// in every percentage below 100, and 64-bit, so that no stored rate overflows.
bool withinTolerance(int64_t pct, int64_t errorRate)
{
    return (pct >= 98 && pct <= 102) || (pct >= 100 - errorRate && pct < 100) ||
           (pct > 100 && pct <= 100 + errorRate);
}

// The radius in pixels of column j of a frame's ring, when the wall there
// lies within the tolerance; nothing otherwise.
bool columnRadius(const RadiusProfile &profile, int j, uint32_t &radius)
{
    const uint32_t pipeRadius = profile[PipeRadiusEntry];
    // A ring whose pipe radius is 0 pixels has no defined percentage, so
    // none of it is built.
    if (pipeRadius == 0)
        return false;
    radius = profile[beamOfColumn(j)];
    // Whole percent of the pipe radius, rounded down, held in 16 bits.
    const auto pct = static_cast<uint16_t>(radius * 100u / pipeRadius);
    return withinTolerance(pct, static_cast<int64_t>(profile[ErrorRateEntry]));
}

// Its distance from the axis: the shader works it out the same way.
bool columnDistance(const RadiusProfile &profile, int j, float &distance)
{
    uint32_t radius = 0;
    if (!columnRadius(profile, j, radius))
        return false;
    distance = static_cast<float>(radius) * PipeMesh::RadialScale * PipeMesh::UnitsPerPixel;
    return true;
}

const RingAngles &angles()
{
    static const RingAngles table = ringAngles();
    return table;
}

} // namespace

bool PipeMesh::build(std::span<const RadiusProfile> profiles, ProgressSink *progress)
{
    clear();
    if (profiles.empty())
        return true;
    if (profiles.size() > MaxFrames)
        return false;
    const int frames = static_cast<int>(profiles.size());
    try {
        std::vector<bool> built(profiles.size() * RingVertices);
        m_bandStarts.assign(profiles.size(), 0);
        // Most bands of a survey have one strip.
        m_runs.reserve(profiles.size() - 1);
        m_profiles = profiles;
        m_frameCount = frames;

        ProgressScope scope(progress, 2 * frames);
        buildRings(scope, built);
        buildRuns(scope, built);
        scope.complete();
    } catch (const std::bad_alloc &) {
        clear();
        return false;
    }
    return true;
}

PipeVertex PipeMesh::vertex(int ring, int column) const
{
    PipeVertex vertex;
    float h = 0;
    if (ring < 0 || ring >= m_frameCount || column < 0 || column >= Columns ||
        !columnDistance(m_profiles[static_cast<size_t>(ring)], column, h))
        return vertex;
    const auto j = static_cast<size_t>(column);
    vertex.x = vertex.nx = h * angles().sine[j];
    vertex.y = vertex.ny = static_cast<float>(ring) * RingSpacing;
    vertex.z = vertex.nz = -h * angles().cosine[j];
    vertex.u = static_cast<float>(column) / static_cast<float>(Columns);
    vertex.v = 1.0f - static_cast<float>(ring) / static_cast<float>(m_frameCount);
    return vertex;
}

template<typename Radius>
void PipeMesh::writeRadii(int first, int count, Radius *out) const
{
    for (int i = first; i < first + count; ++i) {
        const RadiusProfile &profile = m_profiles[static_cast<size_t>(i)];
        for (int j = 0; j < Columns; ++j) {
            uint32_t radius = 0;
            *out++ = columnRadius(profile, j, radius) ? static_cast<Radius>(radius) : Radius(0);
        }
    }
}

template void PipeMesh::writeRadii(int, int, uint16_t *) const;
template void PipeMesh::writeRadii(int, int, float *) const;

const std::array<float, PipeMesh::RingVertices> &PipeMesh::ringSines()
{
    return angles().sine;
}

const std::array<float, PipeMesh::RingVertices> &PipeMesh::ringCosines()
{
    return angles().cosine;
}

void PipeMesh::buildRings(ProgressScope &scope, std::vector<bool> &built)
{
    const RingAngles &a = angles();
    const int frames = m_frameCount;
    int count = 0;
    float largest = 0;
    uint32_t largestPixels = 0;
    for (int i = 0; i < frames; ++i) {
        scope.step(i, 2 * frames);
        const RadiusProfile &profile = m_profiles[static_cast<size_t>(i)];
        const float y = static_cast<float>(i) * RingSpacing;
        for (int j = 0; j < Columns; ++j) {
            float h = 0;
            if (!columnDistance(profile, j, h))
                continue;
            largestPixels = std::max(largestPixels, profile[beamOfColumn(j)]);
            const auto column = static_cast<size_t>(j);
            const float x = h * a.sine[column];
            const float z = -h * a.cosine[column];
            // A vertex at the origin is one that was not built.
            if (x == 0 && y == 0 && z == 0)
                continue;
            built[static_cast<size_t>(i) * RingVertices + column] = true;
            ++count;
            largest = std::max(largest, x * x + z * z);
        }
    }
    m_builtVertices = count;
    m_largestRadius = std::sqrt(largest);
    m_radiiFitIn16Bits = largestPixels <= UINT16_MAX;
}

void PipeMesh::buildRuns(ProgressScope &scope, const std::vector<bool> &built)
{
    const int frames = m_frameCount;
    for (int b = 0; b + 1 < frames; ++b) {
        scope.step(frames + b, 2 * frames);
        m_bandStarts[static_cast<size_t>(b)] = static_cast<uint32_t>(m_runs.size());
        const size_t lower = static_cast<size_t>(b) * RingVertices;
        const size_t upper = lower + RingVertices;
        // A strip runs over the columns built in both rings; one column alone
        // makes no triangle.
        int count = 0;
        for (int k = 0; k <= Columns; ++k) {
            const auto column = static_cast<size_t>(k);
            if (k < Columns && built[lower + column] && built[upper + column]) {
                ++count;
                continue;
            }
            if (count >= 2)
                m_runs.push_back(
                    {static_cast<uint16_t>(2 * (k - count)), static_cast<uint16_t>(2 * count - 2)});
            count = 0;
        }
    }
    m_bandStarts[static_cast<size_t>(frames - 1)] = static_cast<uint32_t>(m_runs.size());
}

void PipeMesh::clear()
{
    m_profiles = {};
    m_frameCount = 0;
    m_builtVertices = 0;
    m_largestRadius = 0;
    m_radiiFitIn16Bits = true;
    // Swapped out rather than cleared, so that the memory goes back before a
    // rebuild asks for its own.
    std::vector<StripRun>().swap(m_runs);
    std::vector<uint32_t>().swap(m_bandStarts);
}

const std::array<uint16_t, PipeMesh::StripIndexCount> &PipeMesh::stripIndices()
{
    static constexpr std::array<uint16_t, StripIndexCount> indices = [] {
        std::array<uint16_t, StripIndexCount> pattern{};
        for (int k = 0; k < RingVertices; ++k) {
            pattern[static_cast<size_t>(2 * k)] = static_cast<uint16_t>(k);
            pattern[static_cast<size_t>(2 * k + 1)] = static_cast<uint16_t>(RingVertices + k);
        }
        return pattern;
    }();
    return indices;
}

std::span<const StripRun> PipeMesh::runs(int band) const
{
    if (band < 0 || band >= bandCount())
        return {};
    const auto b = static_cast<size_t>(band);
    return std::span<const StripRun>(m_runs).subspan(m_bandStarts[b],
                                                     m_bandStarts[b + 1] - m_bandStarts[b]);
}

} // namespace dorvane
