#include "render/ReportPictures.h"

#include "CliRunner.h"
#include "core/app/TextIds.h"
#include "core/base/ByteOrder.h"
#include "core/document/AnimationDocument.h"

#include <filesystem>
#include <unistd.h>

using namespace dorvane;
using namespace dorvane::test;
namespace fs = std::filesystem;

namespace {

struct BmpShape
{
    int width = 0;
    int height = 0;
    int bits = 0;
    size_t size = 0;
};

BmpShape shapeOf(const std::string &bytes)
{
    if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0)
        return {};
    const auto *b = reinterpret_cast<const uint8_t *>(bytes.data());
    return {le::readI32(b + 18), le::readI32(b + 22), le::readU16(b + 28), bytes.size()};
}

bool operator==(const BmpShape &a, const BmpShape &b)
{
    return a.width == b.width && a.height == b.height && a.bits == b.bits && a.size == b.size;
}

// Rows of 1,350 bytes padded to 1,352; rows of 1,500 bytes need none.
const BmpShape Chart = {450, 300, 24, 54 + 1352 * 300};
const BmpShape Square = {500, 500, 24, 54 + 1500 * 500};

class ReportPictures : public Cli
{
protected:
    // A survey whose given frames, and no others, are marked for the report.
    std::string survey(int frames, std::initializer_list<int> marked)
    {
        const std::string path = dir.file("s.Imv");
        writeSurvey(path, frames);
        SilentMessageSink silent;
        AnimationDocument doc(silent);
        EXPECT_TRUE(doc.open(path, nullptr));
        // The simulator marks a few frames of its own.
        EXPECT_TRUE(doc.applyToFrames(BulkEdit{BulkEditKind::ReportShot, 0, {}, 0}, nullptr));
        for (const int index : marked) {
            EXPECT_TRUE(doc.loadFrame(index, false));
            // A defect frame: its label is one of the texts.
            doc.editCurrentHeader([](FrameHeader &h) {
                h.reportShot = 1;
                h.defectFrame = 1;
            });
            EXPECT_TRUE(doc.saveCurrent());
        }
        return path;
    }

    int build(const std::string &path, const std::string &folder)
    {
        // Frame 0 current, as the window shows a survey it opens.
        EXPECT_TRUE(document.open(path, nullptr));
        EXPECT_TRUE(document.loadFrame(0, false));
        return buildReportPictures(document, folder, &progress, messages);
    }

    // What the batch tool draws, for comparison.
    std::string cliPicture(const std::vector<std::string> &args)
    {
        const std::string out = dir.file("cli.bmp");
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return slurp(out);
    }

    RecordingMessageSink messages;
    RecordingProgressSink progress;
    AnimationDocument document{messages};
    TempDir pictures;
    std::string folder = pictures.path().string() + "/";
};

using Posts = std::vector<std::pair<int, int>>;

TEST_F(ReportPictures, ChartViewsAndMarkedFrames)
{
    const std::string path = survey(12, {3, 7});
    ASSERT_EQ(build(path, folder), 7);
    EXPECT_EQ(messages.messages, std::vector<int>{});
    EXPECT_EQ(namesIn(pictures.path()),
              (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6"}));
    EXPECT_TRUE(shapeOf(slurp(folder + "0")) == Chart);
    for (const char *name : {"1", "2", "3", "4", "5", "6"})
        EXPECT_TRUE(shapeOf(slurp(folder + name)) == Square) << name;
    // 1, 2, 3 after the first three views, 4 after the last; then
    // 4 + 6 i / 12 after frame i.
    EXPECT_EQ(progress.posts, (Posts{{1, 100},
                                     {2, 100},
                                     {3, 100},
                                     {4, 100},
                                     {4, 100},
                                     {4, 100},
                                     {5, 100},
                                     {5, 100},
                                     {6, 100},
                                     {6, 100},
                                     {7, 100},
                                     {7, 100},
                                     {8, 100},
                                     {8, 100},
                                     {9, 100},
                                     {9, 100}}));

    // The same pictures as the batch tool's chart, 3D views at frame 0 and
    // frames with their texts.
    const std::string out = dir.file("cli.bmp");
    EXPECT_EQ(slurp(folder + "0"), cliPicture({"chart", path, "-o", out}));
    const char *viewpoints[] = {"3", "0", "1", "2"};
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(
            slurp(folder + std::to_string(k + 1)),
            cliPicture({"render3d", path, "--viewpoint", viewpoints[k], "--frame", "0", "-o", out}))
            << "viewpoint " << viewpoints[k];
    EXPECT_EQ(slurp(folder + "5"),
              cliPicture({"render", path, "--frame", "3", "--overlay", "--texts", "-o", out}));
    EXPECT_EQ(slurp(folder + "6"),
              cliPicture({"render", path, "--frame", "7", "--overlay", "--texts", "-o", out}));
    // The document was only read.
    EXPECT_EQ(document.currentIndex(), 0);
    EXPECT_FALSE(document.isModified());
}

TEST_F(ReportPictures, NoMarkedFrameGivesFivePictures)
{
    ASSERT_EQ(build(survey(4, {}), pictures.path().string()), 5);
    EXPECT_EQ(namesIn(pictures.path()), (std::vector<std::string>{"0", "1", "2", "3", "4"}));
    EXPECT_EQ(
        progress.posts,
        (Posts{{1, 100}, {2, 100}, {3, 100}, {4, 100}, {4, 100}, {5, 100}, {7, 100}, {8, 100}}));
}

TEST_F(ReportPictures, AFolderThatCannotBeWritten)
{
    EXPECT_EQ(build(survey(4, {1}), folder + "missing/"), -1);
    EXPECT_EQ(messages.messages, std::vector<int>{text::SaveBmpFailed});
    EXPECT_EQ(progress.posts, Posts{});
}

TEST_F(ReportPictures, AFramePictureThatCannotBeWritten)
{
    fs::create_directory(folder + "6");
    EXPECT_EQ(build(survey(6, {0, 2, 5}), folder), -1);
    EXPECT_EQ(messages.messages, std::vector<int>{text::SaveBmpFailed});
    EXPECT_EQ(namesIn(pictures.path()),
              (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6"}));
    EXPECT_TRUE(fs::is_directory(folder + "6"));
}

TEST_F(ReportPictures, A3dPictureThatCannotBeSavedFailsSilently)
{
    fs::create_directory(folder + "2");
    EXPECT_EQ(build(survey(4, {1}), folder), -1);
    EXPECT_EQ(messages.messages, std::vector<int>{});
    EXPECT_EQ(namesIn(pictures.path()), (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_EQ(progress.posts, (Posts{{1, 100}}));
}

TEST_F(ReportPictures, AFrameThatCannotBeRead)
{
    const std::string path = survey(10, {1, 9});
    ASSERT_TRUE(document.open(path, nullptr));
    // The last frame cut short after the survey was opened.
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(fs::file_size(path) - 1000)), 0);
    EXPECT_EQ(buildReportPictures(document, folder, &progress, messages), -1);
    EXPECT_EQ(messages.messages, std::vector<int>{text::ReadFileDataError});
    EXPECT_EQ(namesIn(pictures.path()), (std::vector<std::string>{"0", "1", "2", "3", "4", "5"}));
}

} // namespace
