#include "render/SonarPicture.h"

#include "core/display/SonarImage.h"

#include <gtest/gtest.h>
#include <vector>

using namespace dorvane;

TEST(SonarPicture, IsTheImageTopRowFirstWithItsPalette)
{
    SonarImage image;
    std::vector<uint8_t> samples(100000);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<uint8_t>(i % 250); // level = distance from the centre
    image.renderFrame(samples.data(), 0.0f);
    const QImage picture = sonarPicture(image);
    ASSERT_EQ(picture.format(), QImage::Format_Indexed8);
    ASSERT_EQ(picture.size(), QSize(500, 500));
    EXPECT_EQ(picture.colorCount(), 256);
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 500; x += 7)
            ASSERT_EQ(picture.pixelIndex(x, 499 - y), image.pixel(x, y)) << x << "," << y;
    // Straight up from the centre is near the top of the picture.
    EXPECT_GE(picture.pixelIndex(250, 10), 239);
    EXPECT_EQ(picture.pixelIndex(0, 0), 255);
    EXPECT_EQ(picture.pixel(0, 0), qRgb(0xFC, 0x28, 0x00));
}
