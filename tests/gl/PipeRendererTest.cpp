#include "render/PipeRenderer.h"

#include "UiTestSupport.h"
#include "core/base/ByteOrder.h"
#include "core/display/DibBlock.h"
#include "core/view3d/PipeMesh.h"

#include <QImage>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace dorvane {
namespace {

constexpr int Size = 200;

// Every beam on the pipe circle: a closed tube of radius 0.6.
std::vector<RadiusProfile> roundPipe(int frames)
{
    RadiusProfile p{};
    p.fill(100);
    p[BeamCount] = 100;
    p[BeamCount + 1] = 20;
    return std::vector<RadiusProfile>(static_cast<size_t>(frames), p);
}

// A deviation map of one colour.
DibBlock plainMap(int frames, uint8_t blue, uint8_t green, uint8_t red)
{
    DibBlock block(400, frames, 24);
    for (int y = 0; y < frames; ++y)
        for (int x = 0; x < 400; ++x) {
            block.row(y)[3 * x] = blue;
            block.row(y)[3 * x + 1] = green;
            block.row(y)[3 * x + 2] = red;
        }
    return block;
}

struct Census
{
    int background = 0;
    int yellow = 0;
    int blue = 0;
    // The lowest row with yellow: the front of the band, never hidden.
    int yellowBottom = -1;
};

Census census(const QImage &picture)
{
    Census c;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            if (p == qRgb(120, 120, 120)) {
                ++c.background;
            } else if (qRed(p) > 240 && qGreen(p) > 240 && qBlue(p) < 16) {
                ++c.yellow;
                c.yellowBottom = y;
            } else if (qRed(p) < 16 && qGreen(p) < 16 && qBlue(p) > 150) {
                ++c.blue;
            }
        }
    return c;
}

class PipeRendererTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        renderer = PipeRenderer::create(QSize(Size, Size));
        ASSERT_NE(renderer, nullptr) << "no OpenGL 3.3 context (run under xvfb-run)";
    }

    void buildRoundPipe(int frames)
    {
        PipeMesh mesh;
        const std::vector<RadiusProfile> profiles = roundPipe(frames);
        ASSERT_TRUE(mesh.build(profiles));
        const DibBlock map = plainMap(frames, 255, 0, 0);
        ASSERT_TRUE(renderer->setModel(mesh, map.bytes()));
        renderer->camera().modelBuilt();
        renderer->camera().setViewpoint(PipeCamera::Centre, renderer->modelLength());
    }

    Census rendered()
    {
        EXPECT_TRUE(renderer->render());
        return census(renderer->picture());
    }

    std::unique_ptr<PipeRenderer> renderer;
};

TEST_F(PipeRendererTest, WithoutAModelThePictureIsBlack)
{
    ASSERT_TRUE(renderer->render());
    const QImage &picture = renderer->picture();
    ASSERT_EQ(picture.size(), QSize(Size, Size));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(100, 100), qRgb(0, 0, 0));
    EXPECT_EQ(renderer->drawCalls(), 0);
    EXPECT_EQ(renderer->framesPresented(), 1);
}

TEST_F(PipeRendererTest, TheTubeIsLitInTheMapsColourWithTheCurrentBandInYellow)
{
    buildRoundPipe(40);
    Census plain = rendered();
    EXPECT_GT(plain.blue, 2000);
    EXPECT_GT(plain.background, 10000);
    EXPECT_EQ(plain.yellow, 0);
    EXPECT_EQ(renderer->drawCalls(), 1); // every strip of the model at once

    // Lit, not flat: ambient 160 at least, brighter where the normal points up.
    int darkest = 255;
    int brightest = 0;
    const QImage &picture = renderer->picture();
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const QRgb p = picture.pixel(x, y);
            if (qRed(p) == 0 && qGreen(p) == 0 && qBlue(p) > 0) {
                darkest = std::min(darkest, qBlue(p));
                brightest = std::max(brightest, qBlue(p));
            }
        }
    EXPECT_GE(darkest, 158);
    EXPECT_GT(brightest, darkest + 20);

    renderer->setHighlight(10);
    const Census highlighted = rendered();
    EXPECT_GT(highlighted.yellow, 30);
    EXPECT_EQ(renderer->drawCalls(), 2);

    // The last frame has no band after it; out of range draws nothing.
    renderer->setHighlight(39);
    EXPECT_EQ(rendered().yellow, 0);
    renderer->setHighlight(-1);
    EXPECT_EQ(rendered().yellow, 0);
}

TEST_F(PipeRendererTest, TheBandMovesWithTheFrameAndTheModelFollowsUnlessTheCameraIsFixed)
{
    buildRoundPipe(40);
    PipeCamera &camera = renderer->camera();
    camera.setFixed(true);
    renderer->setHighlight(5);
    camera.followFrame(5);
    const int fixedLow = rendered().yellowBottom;
    renderer->setHighlight(30);
    camera.followFrame(30);
    const int fixedHigh = rendered().yellowBottom;
    // Further along the pipe is higher up the picture.
    EXPECT_LT(fixedHigh, fixedLow - 10);

    camera.setFixed(false);
    renderer->setHighlight(5);
    camera.followFrame(5);
    const int followedLow = rendered().yellowBottom;
    renderer->setHighlight(30);
    camera.followFrame(30);
    const int followedHigh = rendered().yellowBottom;
    EXPECT_NEAR(followedHigh, followedLow, 1);
}

TEST_F(PipeRendererTest, ALongModelIsDrawnInPiecesEachInItsPlace)
{
    // Bands 2, 66, 130 and 194 take the same place in their pieces of 64
    // bands: each must still be drawn where its own frame lies.
    buildRoundPipe(200);
    PipeCamera &camera = renderer->camera();
    camera.setViewpoint(PipeCamera::Far, renderer->modelLength());
    camera.setFixed(true);
    int previous = Size;
    for (const int band : {2, 66, 130, 194}) {
        renderer->setHighlight(band);
        const Census c = rendered();
        EXPECT_GT(c.yellow, 0) << "band " << band;
        EXPECT_LT(c.yellowBottom, previous - 5) << "band " << band;
        previous = c.yellowBottom;
    }
    EXPECT_GT(renderer->drawCalls(), 2); // the pieces, then the band
}

TEST_F(PipeRendererTest, WireframeShowsTheMapColourUnlitBetweenItsLines)
{
    PipeMesh mesh;
    const std::vector<RadiusProfile> profiles = roundPipe(40);
    ASSERT_TRUE(mesh.build(profiles));
    // Solid, the light scales the colour down away from the top of the
    // ring; in wireframe it stays as it is.
    const DibBlock map = plainMap(40, 100, 0, 0);
    ASSERT_TRUE(renderer->setModel(mesh, map.bytes()));
    renderer->camera().modelBuilt();
    renderer->camera().setViewpoint(PipeCamera::Centre, renderer->modelLength());

    ASSERT_TRUE(renderer->render());
    const QImage solid = renderer->picture();
    renderer->setSolid(false);
    ASSERT_TRUE(renderer->render());
    const QImage wire = renderer->picture();
    EXPECT_NE(solid, wire);

    int solidShaded = 0;
    int solidOther = 0;
    int wireUnlit = 0;
    int wireOther = 0;
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const QRgb s = solid.pixel(x, y);
            const QRgb w = wire.pixel(x, y);
            if (s != qRgb(120, 120, 120)) {
                // Ambient 160/255 at least: 100 x 0.627 = 63.
                const bool shaded =
                    qRed(s) == 0 && qGreen(s) == 0 && qBlue(s) >= 62 && qBlue(s) < 100;
                (shaded ? solidShaded : solidOther) += 1;
            }
            if (w != qRgb(120, 120, 120))
                (w == qRgb(0, 0, 100) ? wireUnlit : wireOther) += 1;
        }
    EXPECT_GT(solidShaded, 1000);
    EXPECT_GT(wireUnlit, 500);
    EXPECT_LT(wireOther, wireUnlit / 10);
}

TEST_F(PipeRendererTest, LeavingOutTheBandsOutOfViewChangesNoPixel)
{
    buildRoundPipe(600); // 12 units long: most of it out of view
    PipeCamera &camera = renderer->camera();
    for (int viewpoint = 0; viewpoint < 4; ++viewpoint) {
        camera.setViewpoint(viewpoint, renderer->modelLength());
        camera.followFrame(300);
        camera.setAxisAngle(0.3f * static_cast<float>(viewpoint));
        camera.setTiltAngle(0.4f);
        renderer->setHighlight(300);
        renderer->setDrawEveryBand(true);
        ASSERT_TRUE(renderer->render());
        const QImage every = renderer->picture();
        renderer->setDrawEveryBand(false);
        ASSERT_TRUE(renderer->render());
        EXPECT_EQ(renderer->picture(), every) << "viewpoint " << viewpoint;
    }
}

TEST_F(PipeRendererTest, SavesA24BitBitmapOfThePicture)
{
    buildRoundPipe(20);
    test::TempDir dir;
    const std::string path = dir.file("view.bmp");
    ASSERT_TRUE(renderer->saveBmp(path));
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_EQ(bytes.size(), 54u + 600u * 200u); // 200 rows of 600 bytes
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(le::readU32(&bytes[2]), 120054u);
    EXPECT_EQ(le::readI32(&bytes[18]), 200);
    EXPECT_EQ(le::readI32(&bytes[22]), 200);
    EXPECT_EQ(le::readU16(&bytes[28]), 24);
    // The top-left corner (the file's last row) is the clear colour.
    const size_t corner = 54 + 199 * 600;
    EXPECT_EQ(bytes[corner], 120);
    EXPECT_EQ(bytes[corner + 1], 120);
    EXPECT_EQ(bytes[corner + 2], 120);

    EXPECT_FALSE(renderer->saveBmp(dir.file("missing/view.bmp")));
}

TEST_F(PipeRendererTest, AnEmptyOrBrokenModelAndALostContext)
{
    // A survey whose walls never fit: vertices, but no strip to draw.
    PipeMesh mesh;
    std::vector<RadiusProfile> profiles = roundPipe(10);
    for (RadiusProfile &p : profiles)
        p[BeamCount] = 0;
    ASSERT_TRUE(mesh.build(profiles));
    ASSERT_TRUE(renderer->setModel(mesh, std::span<const uint8_t>()));
    renderer->camera().modelBuilt();
    renderer->setHighlight(3);
    const Census c = rendered();
    EXPECT_EQ(c.background, Size * Size);
    EXPECT_EQ(renderer->drawCalls(), 0);

    renderer->loseContext();
    EXPECT_FALSE(renderer->render());
    EXPECT_FALSE(renderer->saveBmp("/tmp/never-written.bmp"));
}

} // namespace
} // namespace dorvane
