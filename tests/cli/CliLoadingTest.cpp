#include "CliRunner.h"

#include <set>

using namespace dorvane::test;

namespace {

// The shared libraries a command loads, as the dynamic loader tells them.
class CliLoading : public Cli
{
protected:
    void SetUp() override
    {
        survey = dir.file("s.Imv");
        ASSERT_EQ(run({"simulate", "-o", survey, "--frames", "5"}).status, 0);
    }

    std::set<std::string> loaded(const std::vector<std::string> &args)
    {
        const CliRun r = runWith("export LD_DEBUG=files", args, dir.file("out.txt"));
        EXPECT_EQ(r.status, 0) << r.err;
        std::set<std::string> names;
        for (const std::string &line : lines(r.err)) {
            const size_t at = line.find("file=");
            if (at == std::string::npos)
                continue;
            const size_t end = line.find_first_of(" ;[", at);
            const std::string path = line.substr(at + 5, end - at - 5);
            names.insert(path.substr(path.rfind('/') + 1));
        }
        return names;
    }

    static bool loadsAny(const std::set<std::string> &names, const std::vector<std::string> &stems)
    {
        for (const std::string &name : names)
            for (const std::string &stem : stems)
                if (name.rfind(stem, 0) == 0)
                    return true;
        return false;
    }

    std::string survey;
};

const std::vector<std::string> Heavy = {"libavcodec", "libavformat", "libGL",  "libEGL",
                                        "libepoxy",   "libQt6",      "libzip", "libpugixml"};

TEST_F(CliLoading, LightCommandsLoadNeitherQtNorOpenGlNorFfmpeg)
{
    for (const std::vector<std::string> &command : {
             std::vector<std::string>{"info", survey},
             std::vector<std::string>{"frames", survey},
             std::vector<std::string>{"profile", survey},
             std::vector<std::string>{"assess", survey, "--frames"},
             std::vector<std::string>{"mesh", survey},
             std::vector<std::string>{"palette"},
             std::vector<std::string>{"deviation-map", survey, "-o", dir.file("map.bmp")},
             std::vector<std::string>{"copy", survey, dir.file("c.Imv")},
         }) {
        const std::set<std::string> names = loaded(command);
        EXPECT_TRUE(names.contains("libdorvane-core.so")) << command[0];
        EXPECT_FALSE(loadsAny(names, Heavy)) << command[0];
    }
}

TEST_F(CliLoading, DrawingCommandsLoadWhatTheyDrawWith)
{
    const auto overlay = loaded({"render", survey, "--overlay", "-o", dir.file("f.bmp")});
    EXPECT_TRUE(loadsAny(overlay, {"libQt6Gui"}));
    EXPECT_FALSE(loadsAny(overlay, {"libavcodec", "libzip"}));
    const auto video = loaded({"video", survey, "-o", dir.file("v.avi")});
    EXPECT_TRUE(loadsAny(video, {"libavcodec"}));
    EXPECT_FALSE(loadsAny(video, {"libzip"}));
}

} // namespace
