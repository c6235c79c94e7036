#include "core/display/DeviationColour.h"
#include "core/display/PixelCode.h"
#include "render/DeviationMapPicture.h"
#include "render/FrameOverlay.h"
#include "render/SedimentChartPicture.h"
#include "render/StrokePicture.h"

#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace dorvane;

namespace {

bool hasColour(const QImage &image, const QRect &area, QColor colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

QImage chartPicture(const std::vector<float> &cable, const std::vector<int32_t> &depth,
                    int pipeRadius)
{
    QImage picture(450, 300, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QPainter painter(&picture);
    SedimentChart(cable, depth, pipeRadius).draw(painter, picture.rect());
    return picture;
}

} // namespace

TEST(StrokePicture, BandGridAndPoints)
{
    FrameHeader h;
    h.pipeRadius = 400;
    h.errorRate = 10;
    h.detectRadius = 1000; // band 90..110 pixels
    h.circleX = h.circleY = 250;
    const StrokeProfile profile = makeStrokeProfile(h, {makePixelCode(300, 200)});
    EXPECT_EQ(profile.innerRadius, 90);
    EXPECT_EQ(profile.outerRadius, 110);
    FrameOverlay overlay; // no header: nothing drawn over the picture
    QImage picture(500, 500, QImage::Format_RGB32);
    QPainter painter(&picture);
    drawStrokePicture(painter, picture.rect(), profile, overlay);
    painter.end();
    EXPECT_EQ(picture.pixelColor(5, 5), QColor(170, 170, 170));
    EXPECT_EQ(picture.pixelColor(250 + 105, 253), QColor(200, 200, 200)); // outer half
    EXPECT_EQ(picture.pixelColor(250 + 95, 253), QColor(180, 180, 180));  // inner half
    EXPECT_EQ(picture.pixelColor(253, 253 + 80), QColor(170, 170, 170));  // inside
    EXPECT_EQ(picture.pixelColor(300, 300), QColor(80, 90, 200));         // y 200 up
    EXPECT_EQ(picture.pixelColor(0, 7), QColor(72, 150, 150));            // grid
    EXPECT_EQ(picture.pixelColor(7, 30), QColor(72, 150, 150));           // step 10

    QImage empty(500, 500, QImage::Format_RGB32);
    QPainter emptyPainter(&empty);
    drawStrokePicture(emptyPainter, empty.rect(), StrokeProfile(), overlay);
    emptyPainter.end();
    EXPECT_EQ(empty.pixelColor(355, 253), QColor(170, 170, 170)); // no band without points
}

TEST(DeviationMapPicture, ClicksSelectFramesFromTheBottomUp)
{
    EXPECT_EQ(deviationMapFrameAt(0, 260, 40), 39);    // top: the last frame
    EXPECT_EQ(deviationMapFrameAt(259, 260, 40), 0);   // bottom row: 40 / 260 = 0
    EXPECT_EQ(deviationMapFrameAt(259, 260, 1000), 3); // 1000 / 260 = 3
    EXPECT_EQ(deviationMapFrameAt(130, 260, 40), 20);
    EXPECT_EQ(deviationMapFrameAt(10, 260, 0), -1);
}

TEST(DeviationMapPicture, MarkedFrameLine)
{
    QImage map(400, 10, QImage::Format_RGB32);
    map.fill(Qt::white);
    QImage picture(200, 100, QImage::Format_RGB32);
    QPainter painter(&picture);
    drawDeviationMap(painter, picture.rect(), map, 10, 3);
    painter.end();
    // y = H * (N - f) / N - 1 = 100 * 7 / 10 - 1.
    EXPECT_EQ(picture.pixelColor(50, 69), QColor(100, 100, 20));
    EXPECT_EQ(picture.pixelColor(50, 68), QColor(Qt::white));
}

TEST(ColourLegend, LabelsForRangeFifty)
{
    const auto ticks = colourLegendTicks(50);
    std::vector<QString> labels;
    for (const auto &t : ticks)
        labels.push_back(t.label);
    EXPECT_EQ(labels, (std::vector<QString>{"50.0%", "33.0%", "16.0%", "0.0%", "-16.0%", "-33.0%",
                                            "-50.0%"}));
    EXPECT_EQ(ticks.front().row, 0);
    EXPECT_EQ(ticks[3].row, 85);
    EXPECT_EQ(ticks.back().row, 171);

    QImage picture(110, 200, QImage::Format_RGB32);
    QPainter painter(&picture);
    drawColourLegend(painter, picture.rect(), 50);
    painter.end();
    // Deep red at the top of the bar (150 %), white in the middle, nearly
    // pure blue at the end (100 - 49 = 51 %).
    EXPECT_EQ(picture.pixelColor(20, 10), QColor(255, 0, 0));
    EXPECT_EQ(picture.pixelColor(20, 10 + 85), QColor(255, 255, 255));
    const Rgb blue = deviationColour(51, 50);
    EXPECT_EQ(picture.pixelColor(20, 10 + 171), QColor(blue.red, blue.green, blue.blue));
    EXPECT_EQ(picture.pixelColor(5, 5), QColor(170, 170, 170));
    // Label text beside each tick.
    EXPECT_TRUE(hasColour(picture, QRect(50, 10, 40, 8), Qt::black));
}

TEST(SedimentChart, DrawsCurveAverageAndPipeTop)
{
    const std::vector<float> cable = {12.3f, 20.0f, 30.0f, 47.0f};
    const std::vector<int32_t> depth = {0, 300, -1, 300};
    const QImage picture = chartPicture(cable, depth, 600); // x 10..50 m, y 0..1200 mm
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(Qt::white));
    // Plot 360 x 240 from (30, 30). The average of 0, 300 and 300 (12.3 is
    // after xmin 10, 47.0 before xmax 50, the excluded frame left out) is
    // 200 mm, at y = 30 + 240 - 240 * 200 / 1200.
    const int averageY = 30 + 240 - 40;
    EXPECT_TRUE(hasColour(picture, QRect(40, averageY, 300, 1), Qt::blue));
    // Pipe-top line at y = 30, from x = 30 to 390.
    EXPECT_EQ(picture.pixelColor(200, 30), QColor(Qt::black));
    // The curve rises from (12.3 m, 0) = (50, 270) to (20 m, 300 mm) = (120, 210).
    EXPECT_TRUE(hasColour(picture, QRect(83, 237, 5, 6), Qt::black));
    // Y ticks every 500 mm: 0, 500, 1000.
    EXPECT_EQ(picture.pixelColor(27, 270), QColor(Qt::black));
    EXPECT_EQ(picture.pixelColor(27, 170), QColor(Qt::black)); // 500 mm
    EXPECT_EQ(picture.pixelColor(27, 70), QColor(Qt::black));  // 1000 mm
    EXPECT_NE(picture.pixelColor(27, 120), QColor(Qt::black)); // no tick at 750
}

TEST(SedimentChart, NonFiniteAndHugeLengthsStayOnTheChart)
{
    // Plot 360 x 240 from (30, 30): 10..50 m, 0..1200 mm. The middle frame's
    // length is odd; its neighbours are (20 m, 300 mm) = (120, 210) and
    // (30 m, 900 mm) = (210, 90).
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<int32_t> depth = {0, 300, 600, 900, 300};
    for (const float odd : {nan, inf, -inf, 1e30f, -1e30f}) {
        const std::vector<float> cable = {12.3f, 20.0f, odd, 30.0f, 47.0f};
        const QImage picture = chartPicture(cable, depth, 600);
        // Nothing of the curve left of the y axis, between the labels of
        // its 0 and 500 mm ticks.
        EXPECT_FALSE(hasColour(picture, QRect(0, 180, 28, 80), Qt::black)) << odd;
        if (std::isfinite(odd))
            continue;
        // Left out: the curve joins its neighbours, through (165, 150), and
        // the average of 0, 300, 900 and 300 is 375 mm, at y = 270 - 75.
        EXPECT_TRUE(hasColour(picture, QRect(164, 149, 3, 3), Qt::black)) << odd;
        EXPECT_TRUE(hasColour(picture, QRect(40, 195, 300, 1), Qt::blue)) << odd;
    }
}

TEST(SedimentChart, OneFrameDrawsTitleAndAxesOnly)
{
    const QImage picture = chartPicture({0.0f}, {120}, 600);
    EXPECT_EQ(picture.pixelColor(30, 100), QColor(Qt::black));  // y axis
    EXPECT_EQ(picture.pixelColor(200, 270), QColor(Qt::black)); // x axis
    EXPECT_FALSE(hasColour(picture, picture.rect(), Qt::blue)); // no average line
    EXPECT_NE(picture.pixelColor(200, 30), QColor(Qt::black));  // no pipe top
    const QImage empty = chartPicture({}, {}, 600);
    EXPECT_EQ(empty.pixelColor(30, 100), QColor(Qt::black));
}

TEST(SedimentChart, ShortSurveyLabelsEveryTick)
{
    // 10..50 m over a 360-pixel plot from x = 30: 9 pixels a metre.
    const std::vector<float> cable = {12.3f, 20.0f, 30.0f, 47.0f};
    const std::vector<int32_t> depth = {0, 300, -1, 300};
    const auto labels = SedimentChart(cable, depth, 600).lengthLabels(QRect(0, 0, 450, 300));
    const int centres[] = {30, 75, 120, 165, 210, 255, 300, 345, 390};
    const char *texts[] = {"10", "15", "20", "25", "30", "35", "40", "45", "50"};
    ASSERT_EQ(labels.size(), 9u);
    for (size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(labels[i].text, QString(texts[i]));
        EXPECT_EQ(labels[i].rect.left() + labels[i].rect.width() / 2, centres[i]) << i;
        EXPECT_EQ(labels[i].rect.top(), 275); // 5 below the axis at 30 + 240
        EXPECT_GT(labels[i].rect.width(), 0);
    }
}

TEST(SedimentChart, LongSurveyOnANarrowChartLabelsTicksApart)
{
    // 0..2000 m: 401 ticks over a 210-pixel plot.
    const std::vector<float> cable = {0.0f, 1000.0f, 2000.0f};
    const std::vector<int32_t> depth = {100, 200, 300};
    const SedimentChart chart(cable, depth, 600);
    const QRect rect(0, 0, 300, 200);
    const auto labels = chart.lengthLabels(rect);
    ASSERT_GE(labels.size(), 2u);
    EXPECT_LT(labels.size(), 401u);
    for (size_t i = 0; i + 1 < labels.size(); ++i) {
        // At least a few pixels between neighbours, and no two meet at all.
        EXPECT_GE(labels[i + 1].rect.left() - (labels[i].rect.right() + 1), 4) << i;
        for (size_t j = i + 1; j < labels.size(); ++j)
            ASSERT_FALSE(labels[i].rect.intersects(labels[j].rect)) << i << " " << j;
    }
    // Every k-th tick from 0 m, k the same all along.
    const int stepMetres = labels[1].text.toInt();
    EXPECT_EQ(stepMetres % 5, 0);
    for (size_t i = 0; i < labels.size(); ++i)
        EXPECT_EQ(labels[i].text, QString::number(static_cast<int>(i) * stepMetres)) << i;
    QImage picture(rect.size(), QImage::Format_RGB32);
    QPainter painter(&picture);
    chart.draw(painter, rect);
    painter.end();
    // Every tick is still drawn, 3 pixels below the axis at 30 + 140.
    for (int i = 0; i < 401; ++i) {
        const int x = 30 + static_cast<int>(210 * (i * 5.0) / 2000);
        ASSERT_EQ(picture.pixelColor(x, 173), QColor(Qt::black)) << i;
    }
    // Left of the axis title, text under the ticks lies only in the labels.
    const int top = labels[0].rect.top();
    for (int y = top + 1; y < top + labels[0].rect.height(); ++y)
        for (int x = 0; x < 150; ++x) {
            if (qGray(picture.pixel(x, y)) >= 128)
                continue;
            bool inLabel = false;
            for (const ChartLabel &label : labels)
                inLabel = inLabel || label.rect.adjusted(-1, 0, 1, 0).contains(x, y);
            ASSERT_TRUE(inLabel) << x << "," << y;
        }
}

TEST(SedimentChart, TextsKeepClearOfEachOther)
{
    // 990..1000 m: the last label, "1000", ends where the axis' name begins.
    const std::vector<float> cable = {991.0f, 999.0f};
    const std::vector<int32_t> depth = {100, 200};
    const SedimentChart chart(cable, depth, 600);
    const QRect rect(0, 0, 450, 300);
    const auto labels = chart.lengthLabels(rect);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].text, "990");
    EXPECT_EQ(labels[1].text, "995");
    const QRect name = chart.lengthAxisNameRect(rect);
    EXPECT_EQ(name.right(), 443);
    EXPECT_LT(labels[1].rect.right() + 4, name.left());

    // On a narrow chart the title would run into the depth axis' name,
    // which goes a line lower.
    for (const QRect &r : {QRect(0, 0, 450, 300), QRect(0, 0, 220, 200)}) {
        EXPECT_FALSE(chart.titleRect(r).intersects(chart.depthAxisNameRect(r))) << r.width();
        EXPECT_GE(chart.depthAxisNameRect(r).left(), 40);
    }
    EXPECT_GT(chart.depthAxisNameRect(QRect(0, 0, 220, 200)).top(), 0);
}
