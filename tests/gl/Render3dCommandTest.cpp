#include "CliRunner.h"
#include "core/base/ByteOrder.h"

#include <set>

using namespace dorvane;
using namespace dorvane::test;

namespace {

class Render3dCommand : public Cli
{
protected:
    std::string survey(int frames)
    {
        const std::string path = dir.file("s.Imv");
        EXPECT_EQ(run({"simulate", "-o", path, "--frames", std::to_string(frames)}).status, 0);
        return path;
    }
};

TEST_F(Render3dCommand, WritesAPictureForEachViewpoint)
{
    const std::string path = survey(60);
    std::set<std::string> pictures;
    for (const char *viewpoint : {"0", "1", "2", "3"}) {
        const std::string out = dir.file(std::string("v") + viewpoint + ".bmp");
        const CliRun r = run({"render3d", path, "--viewpoint", viewpoint, "--frame", "20", "--size",
                              "120", "-o", out});
        ASSERT_EQ(r.status, 0) << r.err;
        const std::string bytes = slurp(out);
        ASSERT_EQ(bytes.size(), 54u + 360u * 120u);
        const auto *b = reinterpret_cast<const uint8_t *>(bytes.data());
        EXPECT_EQ(le::readI32(b + 18), 120);
        EXPECT_EQ(le::readU16(b + 28), 24);
        pictures.insert(bytes);
    }
    EXPECT_EQ(pictures.size(), 4u); // four different pictures

    const std::string wire = dir.file("wire.bmp");
    ASSERT_EQ(run({"render3d", path, "--viewpoint", "3", "--frame", "20", "--size", "120",
                   "--wireframe", "-o", wire})
                  .status,
              0);
    EXPECT_NE(slurp(wire), slurp(dir.file("v3.bmp")));
}

TEST_F(Render3dCommand, RefusesBadArgumentsAndUnwritablePaths)
{
    const std::string path = survey(5);
    EXPECT_EQ(run({"render3d", path, "-o", dir.file("x.bmp")}).status, 2); // no viewpoint
    EXPECT_EQ(run({"render3d", path, "--viewpoint", "4", "-o", dir.file("x.bmp")}).status, 2);
    // Frame 5 of frames 0..4 is bad usage, as in the other commands.
    EXPECT_EQ(
        run({"render3d", path, "--viewpoint", "3", "--frame", "5", "-o", dir.file("x.bmp")}).status,
        2);
    const CliRun r = run({"render3d", path, "--viewpoint", "3", "-o", dir.file("missing/x.bmp")});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing/x.bmp")));
}

TEST_F(Render3dCommand, WithoutAnyOpenGlItSaysSoAndWritesNothing)
{
    const std::string path = survey(5);
    const std::string out = dir.file("x.bmp");
    // No EGL vendor library: no platform gives a context.
    const CliRun r =
        runWith("export __EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent.json",
                {"render3d", path, "--viewpoint", "3", "-o", out}, dir.file("out.txt"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "3D模块初始化失败\n");
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace
