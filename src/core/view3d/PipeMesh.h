#pragma once

#include "core/display/Sediment.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace dorvane {

class ProgressScope;
class ProgressSink;

// One vertex of the pipe model: position, normal (the position itself, not
// normalised: the lighting depends on its length) and texture coordinates.
struct PipeVertex
{
    float x = 0, y = 0, z = 0;
    float nx = 0, ny = 0, nz = 0;
    float u = 0, v = 0;

    // A vertex that was not built stays all zero.
    bool isBuilt() const { return x != 0 || y != 0 || z != 0; }
};
static_assert(sizeof(PipeVertex) == 32, "the vertex layout is 8 floats");

// A triangle strip of one band: its first index in the shared strip pattern
// and its triangle count.
struct StripRun
{
    uint16_t start = 0;
    uint16_t triangles = 0;

    friend bool operator==(const StripRun &, const StripRun &) = default;
};

// The surveyed pipe as a tube: one ring of 201 vertices per frame, whose
// distance from the axis follows the frame's radius profile where the wall
// lies within the frame's tolerated error band, and strips joining
// consecutive rings where both rings were built. The model's y axis is the
// pipe axis; ring i lies in the plane y = i x 0.02.
//
// The vertices are not kept: they follow from the radius profiles, which the
// mesh reads where they are, and are worked out when asked for, a piece at a
// time straight into the graphics buffer (64 MB for 10,000 frames that never
// need a copy of their own). The profiles must therefore outlive the mesh's
// use; what build() keeps is the strips and the counts.
class PipeMesh
{
public:
    static constexpr int RingVertices = 201;
    static constexpr int StripIndexCount = 2 * RingVertices;
    static constexpr float RingSpacing = 0.02f;
    static constexpr float RadialScale = 1.5f;
    static constexpr float UnitsPerPixel = 0.004f;

    // Builds from one radius profile per frame, frame 0 first. Progress: (0,
    // 2N), then (i, 2N) before ring i, (N + b, 2N) before band b, (1, 1) and
    // the end. False when the memory for the model cannot be had; the model
    // is then empty.
    bool build(std::span<const RadiusProfile> profiles, ProgressSink *progress = nullptr);
    // The profiles are read again later: a temporary list would be gone.
    bool build(std::vector<RadiusProfile> &&, ProgressSink * = nullptr) = delete;
    void clear();

    int frameCount() const { return m_frameCount; }
    // The profiles it was built from.
    std::span<const RadiusProfile> profiles() const { return m_profiles; }
    // 0.02 per frame: the length the viewpoints frame.
    float length() const { return RingSpacing * static_cast<float>(m_frameCount); }

    // Column j of ring i (vertex 201 i + j); all zero where it is not built.
    PipeVertex vertex(int ring, int column) const;
    // The radii in pixels of the vertices of rings first .. first + count -
    // 1, ring after ring, into out (0 where a vertex is not built). Column j
    // of ring i lies at (d sin_j, 0.02 i, -d cos_j), with d = radius x 1.5 x
    // 0.004 and the angles of ringSines() and ringCosines(). Radius is
    // uint16_t when radiiFitIn16Bits(), else float.
    template<typename Radius>
    void writeRadii(int first, int count, Radius *out) const;
    // Every built vertex's radius fits in 16 bits (always, but for absurd
    // pipe circles).
    bool radiiFitIn16Bits() const { return m_radiiFitIn16Bits; }
    static const std::array<float, RingVertices> &ringSines();
    static const std::array<float, RingVertices> &ringCosines();
    // Vertices with a non-zero position, counted at build time.
    int builtVertexCount() const { return m_builtVertices; }
    // The largest distance of a vertex from the pipe axis.
    float largestRadius() const { return m_largestRadius; }

    // Index 2k is k, index 2k + 1 is 201 + k: strips between a ring and the
    // next, drawn with the ring's first vertex as the base.
    static const std::array<uint16_t, StripIndexCount> &stripIndices();

    // The strips between ring band and ring band + 1; none outside 0..N-2.
    std::span<const StripRun> runs(int band) const;
    int bandCount() const { return m_frameCount > 1 ? m_frameCount - 1 : 0; }
    // All strips of all bands.
    int runCount() const { return static_cast<int>(m_runs.size()); }

private:
    // Which columns of each ring are built, 201 flags a ring.
    void buildRings(ProgressScope &scope, std::vector<bool> &built);
    void buildRuns(ProgressScope &scope, const std::vector<bool> &built);

    std::span<const RadiusProfile> m_profiles;
    int m_frameCount = 0;
    int m_builtVertices = 0;
    float m_largestRadius = 0;
    bool m_radiiFitIn16Bits = true;
    std::vector<StripRun> m_runs;
    std::vector<uint32_t> m_bandStarts; // N entries: band b's runs are [b], [b + 1])
};

} // namespace dorvane
