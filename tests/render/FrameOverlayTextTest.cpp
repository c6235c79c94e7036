#include "OverlayProbe.h"
#include "core/app/Settings.h"
#include "core/base/GbkText.h"
#include "core/data/AnimationFileHeader.h"
#include "render/FrameOverlay.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace dorvane;
using namespace dorvane::test;

namespace {

constexpr int TopLeftLine = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
constexpr int CentreLine = Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine;
constexpr int RightLine = Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine;

// Two lines 16 pixels apart in the top-right corner.
const std::vector<ExpectedText> cableTexts{{QRect(430, 0, 70, 70), RightLine, "CABLE"},
                                           {QRect(430, 16, 70, 54), RightLine, "12.50m"}};

} // namespace

TEST(FrameOverlayTexts, CounterAndRateShowTheirNumbers)
{
    FrameOverlay overlay;
    overlay.frameIndex = 9;
    overlay.frameCount = 120;
    overlay.fps = 25.9f; // the rate is cut to whole frames
    const QImage drawn = drawOverlay(overlay);
    const QImage expected = textReference({
        {QRect(0, 0, 500, 500), TopLeftLine, "  10/ 120"},
        {QRect(0, 16, 500, 484), TopLeftLine, "   25 fps"},
    });
    EXPECT_TRUE(sameTextPixels(drawn, expected, QRect(0, 0, 200, 40)));
    // Without a header nothing else is drawn: no cable text, no gauges.
    EXPECT_EQ(brightCount(drawn, QRect(0, 40, 500, 460)), 0);
    EXPECT_EQ(brightCount(drawn, QRect(200, 0, 300, 40)), 0);
}

TEST(FrameOverlayTexts, OverALightPictureTheCounterIsEdgedInBlack)
{
    FrameOverlay overlay;
    overlay.frameIndex = 9;
    overlay.frameCount = 120;
    const auto onWhite = [&overlay] {
        QImage image(500, 500, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        overlay.draw(painter, 500, true);
        return image;
    };
    const QRect counter(0, 0, 120, 20);
    EXPECT_FALSE(anyPixel(onWhite(), counter, qRgb(0, 0, 0))); // white on white: unseen
    overlay.outlineTopTexts = true;
    const QImage edged = onWhite();
    EXPECT_TRUE(anyPixel(edged, counter, qRgb(0, 0, 0)));
    EXPECT_FALSE(anyPixel(edged, QRect(0, 40, 500, 460), qRgb(0, 0, 0))); // nothing else
}

TEST(FrameOverlayTexts, ZeroCountAndRateHideThemButNotTheCable)
{
    const FrameHeader header = consistentHeader();
    FrameOverlay overlay;
    overlay.header = &header;
    overlay.showGauges = false;
    const QImage drawn = drawOverlay(overlay);
    EXPECT_EQ(brightCount(drawn, QRect(0, 0, 430, 40)), 0);
    EXPECT_TRUE(sameTextPixels(drawn, textReference(cableTexts), QRect(400, 0, 100, 80)));
    EXPECT_EQ(brightCount(drawn, QRect(0, 80, 500, 420)), 0);
}

TEST(FrameOverlayTexts, WithoutTextsOnlyCounterRateCableAndGaugesAreDrawn)
{
    FrameHeader header = consistentHeader();
    header.errorRate = 51; // adds the warning
    header.defectFrame = 1;
    header.setTitle("Main line");
    header.setNotes("Root intrusion");
    header.rulerOn = 1;
    header.rulerX1 = 100;
    header.rulerY1 = 350;
    header.rulerX2 = 300;
    header.rulerY2 = 350;
    header.circleOn = 1;
    header.circleX = 250;
    header.circleY = 250;
    FrameOverlay overlay;
    overlay.header = &header;
    overlay.frameCount = 3;
    overlay.fps = 4;
    overlay.showGrid = true;
    overlay.showTitle = true;
    overlay.showNotes = true;

    const QImage full = drawOverlay(overlay, 500, true);
    const QImage bare = drawOverlay(overlay, 500, false);

    // The fixed items are the same either way, apart from where the grid
    // crosses them.
    const QRect fixedItems[] = {QRect(0, 0, 100, 40),   QRect(430, 0, 70, 70),
                                QRect(0, 414, 70, 86),  QRect(430, 414, 70, 86),
                                QRect(70, 484, 70, 16), QRect(360, 484, 70, 16)};
    for (const QRect &area : fixedItems) {
        EXPECT_GT(brightCount(bare, area), 0);
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (full.pixel(x, y) != qRgb(0, 200, 255)) {
                    ASSERT_EQ(bare.pixel(x, y), full.pixel(x, y)) << x << "," << y;
                }
    }
    // Nothing else: no grid, ruler, circle, title, notes, label or warning.
    int elsewhere = 0;
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 500; ++x) {
            bool fixed = false;
            for (const QRect &area : fixedItems)
                fixed = fixed || area.contains(x, y);
            if (!fixed && bare.pixel(x, y) != qRgb(0, 0, 0))
                ++elsewhere;
        }
    EXPECT_EQ(elsewhere, 0);

    // With texts every one of them is there.
    EXPECT_GT(brightCount(full, QRect(100, 0, 300, 19)), 0);   // title
    EXPECT_GT(brightCount(full, QRect(100, 32, 300, 19)), 0);  // notes
    EXPECT_GT(brightCount(full, QRect(150, 484, 200, 16)), 0); // defect label
    EXPECT_EQ(full.pixel(250, 120), qRgb(0, 200, 255));        // grid axis
    EXPECT_EQ(full.pixel(200, 350), White);                    // ruler
    EXPECT_GT(brightCount(full, QRect(190, 252, 120, 16)), 0); // warning
}

TEST(FrameOverlayTexts, TitleCarriesTheManholes)
{
    FrameHeader header = consistentHeader();
    header.setTitle(utf8ToGbk("主管道"));
    AnimationFileHeader pipe = AnimationFileHeader::newAnimation();
    pipe.setStartWell("Y12");
    pipe.setEndWell(utf8ToGbk("井7"));
    FrameOverlay overlay;
    overlay.header = &header;
    overlay.pipeInfo = &pipe;
    overlay.showGauges = false;
    overlay.showTitle = true;
    const QRect titleArea(100, 0, 300, 48);

    const QImage withWells = drawOverlay(overlay);
    EXPECT_TRUE(sameTextPixels(withWells,
                               textReference({{QRect(70, 0, 360, 48), CentreLine, "主管道"},
                                              {QRect(70, 16, 360, 32), CentreLine, "Y12-井7"}}),
                               titleArea));

    pipe.setStartWell("");
    pipe.setEndWell("");
    const QImage withoutWells = drawOverlay(overlay);
    EXPECT_TRUE(sameTextPixels(
        withoutWells, textReference({{QRect(70, 0, 360, 48), CentreLine, "主管道"}}), titleArea));

    overlay.showTitle = false;
    EXPECT_EQ(brightCount(drawOverlay(overlay), titleArea), 0);
}

TEST(FrameOverlayTexts, NotesFollowTheirSwitch)
{
    FrameHeader header = consistentHeader();
    header.setNotes(utf8ToGbk("管壁破损\r\n需修复"));
    FrameOverlay overlay;
    overlay.header = &header;
    overlay.showGauges = false;
    overlay.showNotes = true;
    const QRect notesArea(100, 32, 300, 60);
    EXPECT_TRUE(sameTextPixels(drawOverlay(overlay),
                               textReference({{QRect(0, 32, 500, 468), CentreLine, "管壁破损"},
                                              {QRect(0, 48, 500, 452), CentreLine, "需修复"}}),
                               notesArea));
    overlay.showNotes = false;
    EXPECT_EQ(brightCount(drawOverlay(overlay), notesArea), 0);
}

TEST(FrameOverlayTexts, TitleAndNotesIgnoreTheSettings)
{
    // The caller decides; the saved settings are not looked at while drawing.
    const int savedTitle = settings().showTitle, savedNotes = settings().showNotes;
    settings().showTitle = 1;
    settings().showNotes = 1;
    FrameHeader header = consistentHeader();
    header.setTitle("Main line");
    header.setNotes("Root intrusion");
    FrameOverlay overlay;
    overlay.header = &header;
    overlay.showGauges = false;
    const QImage drawn = drawOverlay(overlay);
    settings().showTitle = savedTitle;
    settings().showNotes = savedNotes;
    EXPECT_EQ(brightCount(drawn, QRect(100, 0, 300, 19)), 0);  // title
    EXPECT_EQ(brightCount(drawn, QRect(100, 32, 300, 19)), 0); // notes
}

TEST(FrameOverlayTexts, BottomLabelShowsDefectOrSedimentDepth)
{
    FrameHeader header = consistentHeader();
    FrameOverlay overlay;
    overlay.header = &header;
    overlay.showGauges = false;
    overlay.sedimentDepthMm = 35;
    const QRect labelRect(70, 484, 360, 16);

    EXPECT_EQ(brightCount(drawOverlay(overlay), labelRect), 0);
    header.defectFrame = 1;
    EXPECT_TRUE(sameTextPixels(drawOverlay(overlay),
                               textReference({{labelRect, CentreLine, "缺陷帧"}}), labelRect));

    overlay.bottomLabelMode = true;
    EXPECT_TRUE(sameTextPixels(drawOverlay(overlay),
                               textReference({{labelRect, CentreLine, "淤泥深度(毫米): 35"}}),
                               labelRect));
    header.excludeSediment = 1;
    EXPECT_EQ(brightCount(drawOverlay(overlay), labelRect), 0);
}

TEST(FrameOverlayTexts, ResetForgetsTheFrameButKeepsGridAndMode)
{
    const FrameHeader header = consistentHeader();
    FrameOverlay overlay;
    overlay.header = &header;
    overlay.frameCount = 9;
    overlay.fps = 8;
    overlay.sedimentDepthMm = 12;
    overlay.showGauges = false;
    overlay.showGrid = true;
    overlay.bottomLabelMode = true;
    overlay.reset();
    EXPECT_EQ(overlay.header, nullptr);
    EXPECT_EQ(overlay.sedimentDepthMm, 0);
    EXPECT_TRUE(overlay.showGauges);
    EXPECT_TRUE(overlay.showGrid && overlay.bottomLabelMode);
    // Counter, rate and every header item are gone.
    EXPECT_EQ(brightCount(drawOverlay(overlay), QRect(0, 0, 500, 500)), 0);
}
