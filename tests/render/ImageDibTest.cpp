#include "render/ImageDib.h"

#include "core/display/SonarImage.h"
#include "core/export/BmpFile.h"
#include "render/SonarPicture.h"
#include "support/TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>
#include <vector>

using namespace dorvane;
using namespace dorvane::test;

TEST(ImageDib, RowsRunBottomUpInBlueGreenRedWithPadding)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 255, 0));
    image.setPixel(2, 0, qRgb(0, 0, 255));
    image.setPixel(0, 1, qRgb(255, 255, 255));
    image.setPixel(1, 1, qRgb(0, 0, 0));
    image.setPixel(2, 1, qRgb(1, 2, 3));
    const DibBlock dib = dibFromImage(image);
    EXPECT_EQ(dib.width(), 3);
    EXPECT_EQ(dib.height(), 2);
    EXPECT_EQ(dib.bitsPerPixel(), 24);
    ASSERT_EQ(dib.stride(), 12u);
    const std::vector<uint8_t> bottom(dib.row(0), dib.row(0) + 12);
    const std::vector<uint8_t> top(dib.row(1), dib.row(1) + 12);
    EXPECT_EQ(bottom, (std::vector<uint8_t>{255, 255, 255, 0, 0, 0, 3, 2, 1, 0, 0, 0}));
    EXPECT_EQ(top, (std::vector<uint8_t>{0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0}));
}

TEST(ImageDib, SavedBitmapReadsBackAsTheSamePicture)
{
    QImage image(5, 3, QImage::Format_ARGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            image.setPixel(x, y, qRgba(40 * x, 80 * y, 7 * x + y, 255));
    TempDir dir;
    const std::string path = dir.file("picture.bmp");
    ASSERT_TRUE(writeBmpFile(path, dibFromImage(image)));
    EXPECT_EQ(readFileBytes(path).size(), 14u + 40u + 16u * 3u);
    QImage read;
    ASSERT_TRUE(read.load(QString::fromStdString(path)));
    ASSERT_EQ(read.size(), image.size());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(read.pixel(x, y) & 0xFFFFFF, image.pixel(x, y) & 0xFFFFFF) << x << "," << y;
}

TEST(ImageDib, IndexedPictureTakesItsPaletteColours)
{
    SonarImage sonar;
    sonar.setPalette(0, 255, 256, true);
    sonar.renderTestPattern();
    const QImage picture = sonarPicture(sonar);
    const DibBlock dib = dibFromImage(picture);
    ASSERT_EQ(dib.width(), 500);
    EXPECT_EQ(dib.stride(), 1500u);
    for (int y = 0; y < 500; y += 13)
        for (int x = 0; x < 500; x += 11) {
            const uint8_t level = sonar.pixel(x, y); // y counted upwards, as the rows
            const uint8_t *p = dib.row(y) + 3 * x;
            ASSERT_EQ(p[0], level) << x << "," << y;
            ASSERT_EQ(p[1], level);
            ASSERT_EQ(p[2], level);
        }
}

TEST(ImageDib, NullPictureGivesOneBlackPixel)
{
    const DibBlock dib = dibFromImage(QImage());
    EXPECT_EQ(dib.width(), 1);
    EXPECT_EQ(dib.height(), 1);
    EXPECT_EQ(dib.bitsPerPixel(), 24);
    EXPECT_EQ(dib.row(0)[0] | dib.row(0)[1] | dib.row(0)[2], 0);
}
