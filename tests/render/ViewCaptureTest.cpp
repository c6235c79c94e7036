#include "render/ViewCapture.h"

#include "core/base/ByteOrder.h"
#include "support/TestSupport.h"

#include <QImage>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace dorvane {
namespace {

std::vector<uint8_t> fileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(ViewCapture, AViewOf333PixelsMakesA333054ByteFile)
{
    QImage view(400, 400, QImage::Format_RGB32);
    view.fill(qRgb(10, 20, 30));
    view.setPixel(5, 5, qRgb(200, 100, 50)); // the rectangle's top-left corner
    test::TempDir dir;
    const std::string path = dir.file("view.bmp");
    ASSERT_TRUE(saveSurfaceAreaAsBmp(path, view, QRect(5, 5, 333, 333)));
    const auto bytes = fileBytes(path);
    ASSERT_EQ(bytes.size(), 333054u);
    EXPECT_EQ(le::readU32(&bytes[2]), 333054u);
    EXPECT_EQ(le::readU32(&bytes[10]), 54u);
    EXPECT_EQ(le::readI32(&bytes[18]), 333);
    EXPECT_EQ(le::readI32(&bytes[22]), 333);
    EXPECT_EQ(le::readU16(&bytes[28]), 24);
    // Rows of 1,000 bytes, bottom row first: the top-left pixel starts the
    // last row, blue first.
    const size_t topLeft = 54 + 332 * 1000;
    EXPECT_EQ(bytes[topLeft], 50);
    EXPECT_EQ(bytes[topLeft + 1], 100);
    EXPECT_EQ(bytes[topLeft + 2], 200);
    EXPECT_EQ(bytes[54], 30);
}

TEST(ViewCapture, AOnePixelWideCaptureHasFourByteRows)
{
    QImage view(10, 7, QImage::Format_RGB32);
    view.fill(qRgb(1, 2, 3));
    const auto block = captureDib(view, QRect(4, 0, 1, 7), 0);
    ASSERT_TRUE(block.has_value());
    EXPECT_EQ(block->stride(), 4u);
    EXPECT_EQ(block->size(), 40u + 4u * 7u);
    EXPECT_EQ(block->bitsPerPixel(), 24);
    EXPECT_EQ(block->row(0)[0], 3);
}

TEST(ViewCapture, NothingForOtherDepthsOrRectanglesOutsideThePicture)
{
    QImage view(10, 10, QImage::Format_RGB32);
    view.fill(Qt::white);
    EXPECT_FALSE(captureDib(view, QRect(0, 0, 5, 5), 8).has_value());
    EXPECT_FALSE(captureDib(view, QRect(6, 6, 5, 5), 24).has_value());
    EXPECT_FALSE(captureDib(view, QRect(0, 0, 0, 5), 24).has_value());
    EXPECT_FALSE(captureDib(QImage(), QRect(0, 0, 1, 1), 24).has_value());
}

TEST(ViewCapture, AFailedSaveLeavesNoFileNotEvenAnOlderOne)
{
    test::TempDir dir;
    const std::string path = dir.file("old.bmp");
    std::ofstream(path) << "an older picture";
    QImage view(10, 10, QImage::Format_RGB32);
    view.fill(Qt::white);
    EXPECT_FALSE(saveSurfaceAreaAsBmp(path, view, QRect(5, 5, 10, 10)));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(saveSurfaceAreaAsBmp(dir.file("no/such/folder.bmp"), view, QRect(0, 0, 5, 5)));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

} // namespace
} // namespace dorvane
