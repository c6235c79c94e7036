#include "core/view3d/PipeMesh.h"

#include "support/TestSupport.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <initializer_list>
#include <span>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace dorvane;
using dorvane::test::RecordingProgressSink;

namespace {

// Every beam at radius pixels, in a pipe of pipeRadius pixels.
RadiusProfile profile(uint32_t radius, uint32_t pipeRadius, uint32_t errorRate)
{
    RadiusProfile p;
    p.fill(radius);
    p[400] = pipeRadius;
    p[401] = errorRate;
    return p;
}

// The same with some beams moved: {beam, radius} pairs.
RadiusProfile profile(uint32_t radius, uint32_t pipeRadius, uint32_t errorRate,
                      std::initializer_list<std::pair<int, uint32_t>> beams)
{
    RadiusProfile p = profile(radius, pipeRadius, errorRate);
    for (const auto &[beam, r] : beams)
        p[static_cast<size_t>(beam)] = r;
    return p;
}

PipeVertex vertex(const PipeMesh &mesh, int ring, int column)
{
    return mesh.vertex(ring, column);
}

bool isAllZero(const PipeVertex &v)
{
    return v.x == 0 && v.y == 0 && v.z == 0 && v.nx == 0 && v.ny == 0 && v.nz == 0 && v.u == 0 &&
           v.v == 0;
}

std::vector<StripRun> runsOf(const PipeMesh &mesh, int band)
{
    const auto runs = mesh.runs(band);
    return {runs.begin(), runs.end()};
}

using Runs = std::vector<StripRun>;

// While it lives, the process may map only extraBytes more than it has
// mapped already: larger allocations fail.
class ScarceMemory
{
public:
    explicit ScarceMemory(rlim_t extraBytes)
    {
        getrlimit(RLIMIT_AS, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = mappedBytes() + extraBytes;
        setrlimit(RLIMIT_AS, &limit);
    }
    ~ScarceMemory() { setrlimit(RLIMIT_AS, &m_old); }
    ScarceMemory(const ScarceMemory &) = delete;
    ScarceMemory &operator=(const ScarceMemory &) = delete;

private:
    static rlim_t mappedBytes()
    {
        unsigned long pages = 0;
        if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%lu", &pages) != 1)
                pages = 0;
            std::fclose(statm);
        }
        return static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
    }

    rlimit m_old{};
};

// The profiles of a survey of frames frames, all zero, in memory that is
// mapped but never touched unless read.
class ZeroProfiles
{
public:
    explicit ZeroProfiles(size_t frames)
        : m_frames(frames), m_bytes(frames * sizeof(RadiusProfile)),
          m_data(
              mmap(nullptr, m_bytes, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0))
    {}
    ~ZeroProfiles()
    {
        if (mapped())
            munmap(m_data, m_bytes);
    }
    ZeroProfiles(const ZeroProfiles &) = delete;
    ZeroProfiles &operator=(const ZeroProfiles &) = delete;

    bool mapped() const { return m_data != MAP_FAILED; }
    std::span<const RadiusProfile> profiles() const
    {
        return {static_cast<const RadiusProfile *>(m_data), m_frames};
    }

private:
    size_t m_frames;
    size_t m_bytes;
    void *m_data;
};

} // namespace

TEST(PipeMeshRings, OneFrameHasARingButNoBand)
{
    PipeMesh mesh;
    const std::vector<RadiusProfile> profiles = {profile(100, 100, 0)};
    ASSERT_TRUE(mesh.build(profiles));
    EXPECT_EQ(mesh.frameCount(), 1);
    EXPECT_EQ(mesh.builtVertexCount(), 201);
    EXPECT_EQ(mesh.bandCount(), 0);
    EXPECT_EQ(mesh.runCount(), 0);
    EXPECT_TRUE(mesh.runs(0).empty());
    EXPECT_TRUE(mesh.runs(-1).empty());
    EXPECT_FLOAT_EQ(mesh.length(), 0.02f);
}

TEST(PipeMeshRings, TheErrorRateWidensTheBandAroundThePipeRadius)
{
    // R = 100, so a beam's radius is its percentage. Column j shows beam 2j:
    // columns 1..6 show 97, 98, 102, 103, 96 and 104 %, the others 100 %.
    const auto ring = [](uint32_t errorRate) {
        return profile(100, 100, errorRate,
                       {{2, 97}, {4, 98}, {6, 102}, {8, 103}, {10, 96}, {12, 104}});
    };
    const auto built = [](const PipeMesh &mesh, int column) {
        return vertex(mesh, 0, column).isBuilt();
    };
    PipeMesh mesh;
    std::vector<RadiusProfile> profiles = {ring(0)};
    ASSERT_TRUE(mesh.build(profiles));
    // The wall on the pipe radius and within 2 % of it is shown at rate 0.
    EXPECT_TRUE(built(mesh, 0));
    EXPECT_FALSE(built(mesh, 1));
    EXPECT_TRUE(built(mesh, 2));
    EXPECT_TRUE(built(mesh, 3));
    EXPECT_FALSE(built(mesh, 4));
    EXPECT_EQ(mesh.builtVertexCount(), 201 - 4);

    profiles = {ring(1)};
    ASSERT_TRUE(mesh.build(profiles));
    EXPECT_FALSE(built(mesh, 1));
    EXPECT_TRUE(built(mesh, 2));
    EXPECT_TRUE(built(mesh, 3));
    EXPECT_FALSE(built(mesh, 4));
    EXPECT_EQ(mesh.builtVertexCount(), 201 - 4);

    // Rate 3: 97..103 %, not 96 or 104.
    profiles = {ring(3)};
    ASSERT_TRUE(mesh.build(profiles));
    EXPECT_TRUE(built(mesh, 1));
    EXPECT_TRUE(built(mesh, 4));
    EXPECT_FALSE(built(mesh, 5));
    EXPECT_FALSE(built(mesh, 6));
    EXPECT_EQ(mesh.builtVertexCount(), 201 - 2);
}

TEST(PipeMeshRings, ARateAbove100TakesInEveryRadiusInside)
{
    // Rate 150: 1 % (the wall next to the axis) up to 250 %.
    const std::vector<RadiusProfile> profiles = {
        profile(100, 100, 150, {{2, 1}, {4, 250}, {6, 251}})};
    PipeMesh mesh;
    ASSERT_TRUE(mesh.build(profiles));
    EXPECT_TRUE(vertex(mesh, 0, 1).isBuilt());
    EXPECT_NEAR(vertex(mesh, 0, 1).z, -0.0059971, 1e-6); // 1 x 0.006 x -cos θ1
    EXPECT_TRUE(vertex(mesh, 0, 2).isBuilt());
    EXPECT_FALSE(vertex(mesh, 0, 3).isBuilt());
    EXPECT_EQ(mesh.builtVertexCount(), 200);
}

TEST(PipeMeshRings, ThePercentageIsAWholeNumberRoundedDown)
{
    // R = 200: 205 px is 102.5 %, taken as 102 and shown even at rate 0;
    // 207 px is 103.5 %, taken as 103 and shown from rate 3 on.
    PipeMesh mesh;
    std::vector<RadiusProfile> profiles = {profile(200, 200, 0, {{2, 205}, {4, 207}})};
    ASSERT_TRUE(mesh.build(profiles));
    EXPECT_TRUE(vertex(mesh, 0, 1).isBuilt());
    EXPECT_FALSE(vertex(mesh, 0, 2).isBuilt());
    profiles = {profile(200, 200, 3, {{2, 205}, {4, 207}})};
    ASSERT_TRUE(mesh.build(profiles));
    EXPECT_TRUE(vertex(mesh, 0, 2).isBuilt());
}

TEST(PipeMeshRings, ThePercentageIsKeptTo16Bits)
{
    // R = 100: 65636 px is 65636 %, which 16 bits hold as 100; 65639 px
    // becomes 103 %. 42,949,773 px times 100 wraps in 32 bits to 10004,
    // which is 100 %.
    PipeMesh mesh;
    const std::vector<RadiusProfile> profiles = {
        profile(100, 100, 0, {{2, 65636}, {4, 65639}, {6, 42949773}})};
    ASSERT_TRUE(mesh.build(profiles));
    EXPECT_TRUE(vertex(mesh, 0, 1).isBuilt());
    EXPECT_NEAR(vertex(mesh, 0, 1).z, -393.6236, 0.001); // 65636 x 0.006 x -cos θ1
    EXPECT_FALSE(vertex(mesh, 0, 2).isBuilt());
    EXPECT_TRUE(vertex(mesh, 0, 3).isBuilt());
}

TEST(PipeMeshRings, ARingWithoutAPipeRadiusBuildsNothing)
{
    // A rate of 100000 % would take in any percentage at all the middle ring
    // could be given.
    const std::vector<RadiusProfile> profiles = {profile(100, 100, 0), profile(100, 0, 100000),
                                                 profile(100, 100, 0)};
    PipeMesh mesh;
    ASSERT_TRUE(mesh.build(profiles));
    for (int j = 0; j < 201; ++j)
        EXPECT_TRUE(isAllZero(vertex(mesh, 1, j))) << j;
    EXPECT_EQ(mesh.builtVertexCount(), 402);
    EXPECT_TRUE(mesh.runs(0).empty());
    EXPECT_TRUE(mesh.runs(1).empty());
    EXPECT_EQ(mesh.runCount(), 0);
}

TEST(PipeMeshRings, AVertexThatIsNotBuiltStaysAllZero)
{
    const std::vector<RadiusProfile> profiles = {profile(100, 100, 0, {{20, 50}})};
    PipeMesh mesh;
    ASSERT_TRUE(mesh.build(profiles));
    EXPECT_TRUE(isAllZero(vertex(mesh, 0, 10)));
    EXPECT_FALSE(isAllZero(vertex(mesh, 0, 11)));
}

TEST(PipeMeshGeometry, VerticesLieAtTheirRadiusAndAngle)
{
    // R = 100, r = 100: h = 100 x 1.5 x 0.004 = 0.6. Four rings: ring 3 lies
    // at y = 0.06 with v = 1 - 3/4.
    std::vector<RadiusProfile> profiles(4, profile(100, 100, 0));
    PipeMesh mesh;
    ASSERT_TRUE(mesh.build(profiles));
    const PipeVertex first = vertex(mesh, 3, 0);
    EXPECT_NEAR(first.x, 0.0, 1e-6);
    EXPECT_NEAR(first.y, 0.06, 1e-6);
    EXPECT_NEAR(first.z, -0.6, 1e-6);
    EXPECT_EQ(first.u, 0.0f);
    EXPECT_NEAR(first.v, 0.25, 1e-6);

    // θ = 50 x 2π/201 = 1.5629814: sin 0.9999695, cos 0.0078148.
    const PipeVertex quarter = vertex(mesh, 3, 50);
    EXPECT_NEAR(quarter.x, 0.5999817, 1e-6);
    EXPECT_NEAR(quarter.y, 0.06, 1e-6);
    EXPECT_NEAR(quarter.z, -0.0046889, 1e-6);
    EXPECT_NEAR(quarter.u, 0.2487562, 1e-6);
    EXPECT_NEAR(quarter.v, 0.25, 1e-6);

    // θ = 150 x 2π/201 = 4.6889443: sin -0.9997252, cos -0.0234426.
    const PipeVertex threeQuarters = vertex(mesh, 3, 150);
    EXPECT_NEAR(threeQuarters.x, -0.5998351, 1e-6);
    EXPECT_NEAR(threeQuarters.z, 0.0140655, 1e-6);
    EXPECT_NEAR(threeQuarters.u, 0.7462687, 1e-6);

    // Ring 0 at y = 0 with v = 1.
    EXPECT_EQ(vertex(mesh, 0, 50).y, 0.0f);
    EXPECT_EQ(vertex(mesh, 0, 50).v, 1.0f);
}

TEST(PipeMeshGeometry, TheNormalIsThePositionItself)
{
    const std::vector<RadiusProfile> profiles(2, profile(120, 100, 30));
    PipeMesh mesh;
    ASSERT_TRUE(mesh.build(profiles));
    for (int j : {0, 1, 77, 200}) {
        const PipeVertex v = vertex(mesh, 1, j);
        EXPECT_EQ(v.nx, v.x) << j;
        EXPECT_EQ(v.ny, v.y) << j;
        EXPECT_EQ(v.nz, v.z) << j;
    }
    // 120 x 0.006 = 0.72 from the axis, not 1.
    EXPECT_NEAR(vertex(mesh, 1, 0).nz, -0.72, 1e-6);
    EXPECT_NEAR(vertex(mesh, 1, 0).ny, 0.02, 1e-6);
}

TEST(PipeMeshGeometry, ColumnsTakeEveryOtherBeamAndTheLastClosesOnBeam0)
{
    // Beam 0 at 101 px (h 0.606), beam 1 at 50 px (never shown), beam 2 at
    // 102 px (h 0.612); the pipe radius, in entry 400, is 100.
    const std::vector<RadiusProfile> profiles = {
        profile(100, 100, 0, {{0, 101}, {1, 50}, {2, 102}})};
    PipeMesh mesh;
    ASSERT_TRUE(mesh.build(profiles));
    // θ1 = 2π/201 = 0.0312596: sin 0.0312545, cos 0.9995115.
    const PipeVertex second = vertex(mesh, 0, 1);
    EXPECT_NEAR(second.x, 0.0191278, 1e-6);
    EXPECT_NEAR(second.z, -0.6117010, 1e-6);
    // Column 200 is column 0 again: beam 0 and θ = 0, with its own u.
    const PipeVertex last = vertex(mesh, 0, 200);
    EXPECT_NEAR(last.x, 0.0, 1e-6);
    EXPECT_NEAR(last.z, -0.606, 1e-6);
    EXPECT_NEAR(last.u, 0.9950249, 1e-6);
    EXPECT_NEAR(vertex(mesh, 0, 0).z, -0.606, 1e-6);
}

TEST(PipeMeshGeometry, AHundredFramesMakeAPipeOf2Units)
{
    const std::vector<RadiusProfile> profiles(100, profile(100, 100, 0));
    PipeMesh mesh;
    ASSERT_TRUE(mesh.build(profiles));
    EXPECT_EQ(mesh.frameCount(), 100);
    EXPECT_EQ(mesh.builtVertexCount(), 20100);
    EXPECT_FLOAT_EQ(mesh.length(), 2.0f);
    EXPECT_NEAR(vertex(mesh, 99, 0).y, 1.98, 1e-5);
    EXPECT_NEAR(vertex(mesh, 99, 0).v, 0.01, 1e-6);
    EXPECT_EQ(mesh.bandCount(), 99);
    EXPECT_EQ(mesh.runCount(), 99);
    EXPECT_EQ(runsOf(mesh, 98), (Runs{{0, 400}}));
}

TEST(PipeMeshStrips, TheSharedPatternAlternatesBetweenTwoRings)
{
    const auto &indices = PipeMesh::stripIndices();
    ASSERT_EQ(indices.size(), 402u);
    EXPECT_EQ(indices[0], 0);
    EXPECT_EQ(indices[1], 201);
    EXPECT_EQ(indices[2], 1);
    EXPECT_EQ(indices[3], 202);
    EXPECT_EQ(indices[22], 11);
    EXPECT_EQ(indices[23], 212);
    EXPECT_EQ(indices[400], 200);
    EXPECT_EQ(indices[401], 401);
}

TEST(PipeMeshStrips, AWholeBandIsOneStrip)
{
    const std::vector<RadiusProfile> profiles(2, profile(100, 100, 0));
    PipeMesh mesh;
    ASSERT_TRUE(mesh.build(profiles));
    EXPECT_EQ(mesh.bandCount(), 1);
    EXPECT_EQ(runsOf(mesh, 0), (Runs{{0, 400}}));
    EXPECT_TRUE(mesh.runs(1).empty());
    EXPECT_EQ(mesh.runCount(), 1);
}

TEST(PipeMeshStrips, AColumnMissingInEitherRingBreaksTheStrip)
{
    // Column 10 shows beam 20; at 50 % it is not built. Columns 0..9 make
    // 9 quads (18 triangles) from index 0, columns 11..200 make 189 quads
    // from index 22.
    const RadiusProfile whole = profile(100, 100, 0);
    const RadiusProfile broken = profile(100, 100, 0, {{20, 50}});
    PipeMesh mesh;
    for (const auto &profiles :
         {std::vector<RadiusProfile>{whole, broken}, std::vector<RadiusProfile>{broken, whole}}) {
        ASSERT_TRUE(mesh.build(profiles));
        EXPECT_EQ(runsOf(mesh, 0), (Runs{{0, 18}, {22, 378}}));
    }
}

TEST(PipeMeshStrips, OneColumnAloneDrawsNothingAndTwoDrawOneQuad)
{
    // The upper ring is built at column 5 (beam 10) and at columns 7 and 8
    // (beams 14 and 16) only.
    const std::vector<RadiusProfile> profiles = {
        profile(100, 100, 0), profile(50, 100, 0, {{10, 100}, {14, 100}, {16, 100}})};
    PipeMesh mesh;
    ASSERT_TRUE(mesh.build(profiles));
    EXPECT_EQ(runsOf(mesh, 0), (Runs{{14, 2}}));
    EXPECT_EQ(mesh.builtVertexCount(), 204);
}

TEST(PipeMeshStrips, AStripReachingTheLastColumnEndsWithTheRing)
{
    // Beam 0 shows at columns 0 and 200, beam 398 at column 199: column 0
    // alone draws nothing, columns 199 and 200 draw one quad.
    const std::vector<RadiusProfile> profiles = {profile(100, 100, 0),
                                                 profile(50, 100, 0, {{0, 100}, {398, 100}})};
    PipeMesh mesh;
    ASSERT_TRUE(mesh.build(profiles));
    EXPECT_EQ(runsOf(mesh, 0), (Runs{{398, 2}}));
}

TEST(PipeMeshStrips, EachBandKeepsItsOwnRuns)
{
    // Ring 1 misses column 10, ring 2 misses columns 100..102 (beams 200,
    // 202, 204) and ring 3 is all there.
    const std::vector<RadiusProfile> profiles = {
        profile(100, 100, 0), profile(100, 100, 0, {{20, 50}}),
        profile(100, 100, 0, {{200, 50}, {202, 50}, {204, 50}}), profile(100, 100, 0)};
    PipeMesh mesh;
    ASSERT_TRUE(mesh.build(profiles));
    EXPECT_EQ(mesh.bandCount(), 3);
    EXPECT_EQ(runsOf(mesh, 0), (Runs{{0, 18}, {22, 378}}));
    // Columns 0..9, 11..99 and 103..200.
    EXPECT_EQ(runsOf(mesh, 1), (Runs{{0, 18}, {22, 176}, {206, 194}}));
    EXPECT_EQ(runsOf(mesh, 2), (Runs{{0, 198}, {206, 194}}));
    EXPECT_TRUE(mesh.runs(3).empty());
    EXPECT_TRUE(mesh.runs(-1).empty());
    EXPECT_EQ(mesh.runCount(), 7);
}

TEST(PipeMeshStrips, AWallOnTheAxisOfRing0IsNotBuilt)
{
    // Rate 100 takes in 0 %, but a vertex at the origin has no position to
    // draw: column 10 breaks the strip and is not counted.
    const std::vector<RadiusProfile> profiles = {profile(100, 100, 100, {{20, 0}}),
                                                 profile(100, 100, 100)};
    PipeMesh mesh;
    ASSERT_TRUE(mesh.build(profiles));
    EXPECT_EQ(mesh.builtVertexCount(), 401);
    EXPECT_EQ(runsOf(mesh, 0), (Runs{{0, 18}, {22, 378}}));
}

TEST(PipeMeshBuild, ProgressCoversRingsThenBands)
{
    const std::vector<RadiusProfile> profiles(3, profile(100, 100, 0));
    PipeMesh mesh;
    RecordingProgressSink sink;
    ASSERT_TRUE(mesh.build(profiles, &sink));
    const std::vector<std::pair<int, int>> expected = {{0, 6}, {0, 6}, {1, 6}, {2, 6},
                                                       {3, 6}, {4, 6}, {1, 1}, {-1, -1}};
    EXPECT_EQ(sink.posts, expected);
}

TEST(PipeMeshBuild, NoFramesMakeAnEmptyModelWithoutProgress)
{
    PipeMesh mesh;
    RecordingProgressSink sink;
    EXPECT_TRUE(mesh.build(std::span<const RadiusProfile>(), &sink));
    EXPECT_TRUE(sink.posts.empty());
    EXPECT_EQ(mesh.frameCount(), 0);
    EXPECT_EQ(mesh.bandCount(), 0);
    EXPECT_EQ(mesh.length(), 0.0f);
}

TEST(PipeMeshBuild, RadiiAreWrittenRingByRingForTheGraphicsBuffer)
{
    // Ring 1 has beam 20 (column 10) out of tolerance.
    const std::vector<RadiusProfile> profiles = {profile(100, 100, 0),
                                                 profile(100, 100, 0, {{20, 50}})};
    PipeMesh mesh;
    ASSERT_TRUE(mesh.build(profiles));
    ASSERT_TRUE(mesh.radiiFitIn16Bits());
    std::vector<uint16_t> radii(2 * 201, 7);
    mesh.writeRadii(1, 1, radii.data() + 201);
    mesh.writeRadii(0, 1, radii.data());
    for (size_t k = 0; k < radii.size(); ++k)
        EXPECT_EQ(radii[k], k == 201 + 10 ? 0 : 100) << k;
    std::vector<float> wide(201, -1.0f);
    mesh.writeRadii(1, 1, wide.data());
    EXPECT_EQ(wide[9], 100.0f);
    EXPECT_EQ(wide[10], 0.0f);
    // 100 pixels are 100 x 1.5 x 0.004 = 0.6 units from the axis; column 0
    // points along -z, column 50 about a quarter turn on.
    EXPECT_NEAR(mesh.largestRadius(), 0.6f, 1e-6);
    EXPECT_FLOAT_EQ(PipeMesh::ringSines()[0], 0.0f);
    EXPECT_FLOAT_EQ(PipeMesh::ringCosines()[0], 1.0f);
    EXPECT_NEAR(PipeMesh::ringSines()[50], std::sin(50 * 2 * 3.14159265 / 201), 1e-6);
    EXPECT_FLOAT_EQ(PipeMesh::ringCosines()[200], 1.0f);
    EXPECT_EQ(mesh.builtVertexCount(), 401);
    EXPECT_EQ(runsOf(mesh, 0), (Runs{{0, 18}, {22, 378}}));

    // A pipe circle far off the picture makes radii beyond 16 bits.
    const std::vector<RadiusProfile> far = {profile(70000, 70000, 0), profile(70000, 70000, 0)};
    ASSERT_TRUE(mesh.build(far));
    EXPECT_FALSE(mesh.radiiFitIn16Bits());
    mesh.writeRadii(0, 1, wide.data());
    EXPECT_EQ(wide[0], 70000.0f);
}

TEST(PipeMeshBuild, ARebuildReplacesThePreviousModel)
{
    PipeMesh mesh;
    const std::vector<RadiusProfile> three(3, profile(100, 100, 0));
    ASSERT_TRUE(mesh.build(three));
    ASSERT_EQ(mesh.runCount(), 2);

    // Two rings built at columns 0, 1 and 200 only, so that nothing of the
    // first model may show through.
    const std::vector<RadiusProfile> two = {profile(50, 100, 0, {{0, 100}, {2, 100}}),
                                            profile(50, 100, 0, {{0, 100}, {2, 100}})};
    ASSERT_TRUE(mesh.build(two));
    EXPECT_EQ(mesh.frameCount(), 2);
    // Columns 0, 1 and 200 of each ring.
    EXPECT_EQ(mesh.builtVertexCount(), 6);
    EXPECT_EQ(runsOf(mesh, 0), (Runs{{0, 2}}));
    EXPECT_TRUE(mesh.runs(1).empty());
    EXPECT_EQ(mesh.runCount(), 1);
    EXPECT_TRUE(isAllZero(vertex(mesh, 1, 100)));
    EXPECT_NEAR(vertex(mesh, 1, 0).v, 0.5, 1e-6);

    mesh.clear();
    EXPECT_EQ(mesh.frameCount(), 0);
    EXPECT_EQ(mesh.builtVertexCount(), 0);
    EXPECT_EQ(mesh.runCount(), 0);
    EXPECT_TRUE(mesh.runs(0).empty());
}

TEST(PipeMeshBuild, WithoutMemoryForTheModelItIsEmpty)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers' allocators end the process instead of throwing";
#else
    PipeMesh mesh;
    const std::vector<RadiusProfile> small(2, profile(100, 100, 0));
    ASSERT_TRUE(mesh.build(small));
    // A million rings take 6.4 GB of vertices, more than the process could
    // have freed before; 8 MB can be had.
    const ZeroProfiles large(1000000);
    ASSERT_TRUE(large.mapped());
    RecordingProgressSink sink;
    bool built = true;
    {
        const ScarceMemory scarce(8 << 20);
        built = mesh.build(large.profiles(), &sink);
    }
    EXPECT_FALSE(built);
    EXPECT_EQ(mesh.frameCount(), 0);
    EXPECT_EQ(mesh.builtVertexCount(), 0);
    EXPECT_EQ(mesh.runCount(), 0);
    EXPECT_TRUE(mesh.runs(0).empty());
    EXPECT_TRUE(sink.posts.empty());
    // With the memory back a build succeeds again.
    ASSERT_TRUE(mesh.build(small));
    EXPECT_EQ(mesh.builtVertexCount(), 402);
#endif
}
