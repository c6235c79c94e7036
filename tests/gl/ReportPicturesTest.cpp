#include "render/ReportPictures.h"

#include "CliRunner.h"
#include "core/app/TextIds.h"
#include "core/document/AnimationDocument.h"
#include "core/export/ReportContent.h"

#include <QImage>
#include <filesystem>
#include <unistd.h>

using namespace dorvane;
using namespace dorvane::test;
namespace fs = std::filesystem;

namespace {

// The pixels of a BMP file the batch tool wrote, as a report holds them.
RgbPicture bmpPixels(const std::string &bytes)
{
    const QImage image = QImage::fromData(QByteArray::fromStdString(bytes), "BMP")
                             .convertToFormat(QImage::Format_RGB888);
    RgbPicture picture{image.width(), image.height(), {}};
    for (int y = 0; y < image.height(); ++y)
        picture.pixels.insert(picture.pixels.end(), image.constScanLine(y),
                              image.constScanLine(y) + 3 * image.width());
    return picture;
}

bool sameSize(const RgbPicture &picture, int width, int height)
{
    return picture.width == width && picture.height == height &&
           picture.pixels.size() == static_cast<size_t>(width * height * 3);
}

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
            doc.editCurrentHeader([index](FrameHeader &h) {
                h.reportShot = 1;
                h.defectFrame = 1;
                h.cableLength = 1.25f * static_cast<float>(index);
            });
            EXPECT_TRUE(doc.saveCurrent());
        }
        return path;
    }

    bool build(const std::string &path)
    {
        // Frame 0 current, as the window shows a survey it opens.
        EXPECT_TRUE(document.open(path, nullptr));
        EXPECT_TRUE(document.loadFrame(0, false));
        return buildReportPictures(document, content, &progress, messages);
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
    ReportContent content;
};

using Posts = std::vector<std::pair<int, int>>;

TEST_F(ReportPictures, ChartViewsAndMarkedFrames)
{
    const std::string path = survey(12, {3, 7});
    ASSERT_TRUE(build(path));
    EXPECT_EQ(messages.messages, std::vector<int>{});
    EXPECT_TRUE(sameSize(content.chart, 450, 300));
    const ReportContent::PipeViews &views = content.pipeViews;
    for (const RgbPicture *view : {&views.centre, &views.outside, &views.inside, &views.far})
        EXPECT_TRUE(sameSize(*view, 500, 500));
    ASSERT_EQ(content.frames.size(), 2u);
    EXPECT_EQ(content.frames[0].caption, "第 4 帧，电缆长度 3.75 m");
    EXPECT_EQ(content.frames[1].caption, "第 8 帧，电缆长度 8.75 m");
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
    // Compared whole: a difference would print hundreds of kilobytes.
    EXPECT_TRUE(content.chart == bmpPixels(cliPicture({"chart", path, "-o", out})));
    const char *viewpoints[] = {"3", "0", "1", "2"};
    const RgbPicture *drawn[] = {&views.centre, &views.outside, &views.inside, &views.far};
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(*drawn[k] == bmpPixels(cliPicture({"render3d", path, "--viewpoint",
                                                       viewpoints[k], "--frame", "0", "-o", out})))
            << "viewpoint " << viewpoints[k];
    EXPECT_TRUE(
        content.frames[0].picture ==
        bmpPixels(cliPicture({"render", path, "--frame", "3", "--overlay", "--texts", "-o", out})));
    EXPECT_TRUE(
        content.frames[1].picture ==
        bmpPixels(cliPicture({"render", path, "--frame", "7", "--overlay", "--texts", "-o", out})));
    // The document was only read.
    EXPECT_EQ(document.currentIndex(), 0);
    EXPECT_FALSE(document.isModified());
}

TEST_F(ReportPictures, NoMarkedFrameGivesNoFramePicture)
{
    ASSERT_TRUE(build(survey(4, {})));
    EXPECT_TRUE(content.frames.empty());
    EXPECT_EQ(content.noFrames, "没有标记用于报告的帧。");
    EXPECT_EQ(
        progress.posts,
        (Posts{{1, 100}, {2, 100}, {3, 100}, {4, 100}, {4, 100}, {5, 100}, {7, 100}, {8, 100}}));
}

TEST_F(ReportPictures, AFrameThatCannotBeRead)
{
    const std::string path = survey(10, {1, 9});
    ASSERT_TRUE(document.open(path, nullptr));
    // The last frame cut short after the survey was opened.
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(fs::file_size(path) - 1000)), 0);
    EXPECT_FALSE(buildReportPictures(document, content, &progress, messages));
    EXPECT_EQ(messages.messages, std::vector<int>{text::ReadFileDataError});
    EXPECT_EQ(content.frames.size(), 1u);
}

} // namespace
