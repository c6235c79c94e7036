#include "core/view3d/PipeMesh.h"

#include "core/base/ProgressSink.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <new>
#include <numbers>
#include <sys/mman.h>
#include <unistd.h>

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

// Asks for 2 MB pages for a large buffer that has not been touched yet:
// taking a long survey's vertices (64 MB for 10,000 frames) from the kernel
// 4 KB at a time costs more than building them. Only a hint; without it the
// buffer is the same, only slower to fill. A model smaller than a few large
// pages would gain nothing.
void preferLargePages(const void *data, size_t bytes)
{
#ifdef MADV_HUGEPAGE
    constexpr size_t LargePage = 2 << 20;
    if (bytes < 4 * LargePage)
        return;
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pageSize <= 0)
        return;
    const auto page = static_cast<uintptr_t>(pageSize);
    const auto first = reinterpret_cast<uintptr_t>(data);
    const uintptr_t begin = (first + page - 1) / page * page;
    const uintptr_t end = (first + bytes) / page * page;
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

// Whether each column of a ring has a vertex to draw.
void builtColumns(const PipeVertex *ring, std::array<bool, Columns> &built)
{
    for (size_t k = 0; k < built.size(); ++k)
        built[k] = ring[k].isBuilt();
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
        const size_t vertexCount = profiles.size() * RingVertices;
        m_vertices.reserve(vertexCount);
        preferLargePages(m_vertices.data(), vertexCount * sizeof(PipeVertex));
        m_vertices.resize(vertexCount);
        m_bandStarts.assign(profiles.size(), 0);
        // Most bands of a survey have one strip.
        m_runs.reserve(profiles.size() - 1);
        m_frameCount = frames;

        ProgressScope scope(progress, 2 * frames);
        buildRings(profiles, scope);
        buildRuns(scope);
        scope.complete();
    } catch (const std::bad_alloc &) {
        clear();
        return false;
    }
    return true;
}

void PipeMesh::buildRings(std::span<const RadiusProfile> profiles, ProgressScope &scope)
{
    const RingAngles angles = ringAngles();
    const int frames = m_frameCount;
    int built = 0;
    for (int i = 0; i < frames; ++i) {
        scope.step(i, 2 * frames);
        const RadiusProfile &profile = profiles[static_cast<size_t>(i)];
        const uint32_t pipeRadius = profile[PipeRadiusEntry];
        // A ring whose pipe radius is 0 pixels has no defined percentage, so
        // none of it is built.
        if (pipeRadius == 0)
            continue;
        const int64_t errorRate = profile[ErrorRateEntry];
        const float y = static_cast<float>(i) * RingSpacing;
        const float v = 1.0f - static_cast<float>(i) / static_cast<float>(frames);
        PipeVertex *ring = &m_vertices[static_cast<size_t>(i) * RingVertices];
        for (int j = 0; j < Columns; ++j) {
            const uint32_t radius = profile[beamOfColumn(j)];
            // Whole percent of the pipe radius, rounded down, held in 16 bits.
            const auto pct = static_cast<uint16_t>(radius * 100u / pipeRadius);
            if (!withinTolerance(pct, errorRate))
                continue;
            const auto column = static_cast<size_t>(j);
            const float h = static_cast<float>(radius) * RadialScale * UnitsPerPixel;
            PipeVertex &vertex = ring[column];
            vertex.x = vertex.nx = h * angles.sine[column];
            vertex.y = vertex.ny = y;
            vertex.z = vertex.nz = -h * angles.cosine[column];
            vertex.u = static_cast<float>(j) / static_cast<float>(Columns);
            vertex.v = v;
            built += vertex.isBuilt();
        }
    }
    m_builtVertices = built;
}

void PipeMesh::buildRuns(ProgressScope &scope)
{
    const int frames = m_frameCount;
    std::array<bool, Columns> lower{};
    std::array<bool, Columns> upper{};
    builtColumns(m_vertices.data(), lower);
    for (int b = 0; b + 1 < frames; ++b) {
        scope.step(frames + b, 2 * frames);
        m_bandStarts[static_cast<size_t>(b)] = static_cast<uint32_t>(m_runs.size());
        builtColumns(&m_vertices[static_cast<size_t>(b + 1) * RingVertices], upper);
        // A strip runs over the columns built in both rings; one column alone
        // makes no triangle.
        int count = 0;
        for (int k = 0; k <= Columns; ++k) {
            const auto column = static_cast<size_t>(k);
            if (k < Columns && lower[column] && upper[column]) {
                ++count;
                continue;
            }
            if (count >= 2)
                m_runs.push_back(
                    {static_cast<uint16_t>(2 * (k - count)), static_cast<uint16_t>(2 * count - 2)});
            count = 0;
        }
        lower = upper;
    }
    m_bandStarts[static_cast<size_t>(frames - 1)] = static_cast<uint32_t>(m_runs.size());
}

void PipeMesh::clear()
{
    m_frameCount = 0;
    m_builtVertices = 0;
    // Swapped out rather than cleared, so that the memory goes back before a
    // rebuild asks for its own.
    std::vector<PipeVertex>().swap(m_vertices);
    std::vector<StripRun>().swap(m_runs);
    std::vector<uint32_t>().swap(m_bandStarts);
}

void PipeMesh::releaseVertices()
{
    std::vector<PipeVertex>().swap(m_vertices);
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
