#include "core/display/Palette.h"

#include <gtest/gtest.h>
#include <set>

using namespace dorvane;

TEST(Palette, SourceTablesHaveTheirEnds)
{
    EXPECT_EQ(colourTable()[0].rgb(), 0x000034u);
    EXPECT_EQ(colourTable()[128].rgb(), 0x48FC80u);
    EXPECT_EQ(colourTable()[163].rgb(), 0xA0D008u);
    EXPECT_EQ(colourTable()[255].rgb(), 0xFC2800u);
    EXPECT_EQ(greyRamp()[0].rgb(), 0x000000u);
    EXPECT_EQ(greyRamp()[255].rgb(), 0xFFFFFFu);
    // Bitmap order: blue first.
    EXPECT_EQ(colourTable()[255].red, 0xFC);
    EXPECT_EQ(colourTable()[255].green, 0x28);
    EXPECT_EQ(colourTable()[255].blue, 0x00);
}

TEST(Palette, FullRangeGivesTheSourceTableItself)
{
    const Palette grey = buildPalette(0, 255, 256, true);
    for (int j = 0; j < 256; ++j)
        EXPECT_EQ(grey[static_cast<size_t>(j)].rgb(), static_cast<uint32_t>(j * 0x010101));
    EXPECT_EQ(buildPalette(0, 255, 256, false), colourTable());
}

TEST(Palette, NarrowWindowSplitsIntoFirstAndLastColour)
{
    const Palette p = buildPalette(100, 101, 16, false);
    for (int j = 0; j <= 100; ++j)
        EXPECT_EQ(p[static_cast<size_t>(j)].rgb(), 0x000034u) << j;
    for (int j = 101; j < 256; ++j)
        EXPECT_EQ(p[static_cast<size_t>(j)].rgb(), 0xFC2800u) << j;
}

TEST(Palette, LevelsBetweenThresholdsAreStretchedAndBanded)
{
    // 16 colours: bands of 16 levels over the full range.
    const Palette p = buildPalette(0, 255, 16, true);
    std::set<uint32_t> colours;
    for (const auto &e : p)
        colours.insert(e.rgb());
    EXPECT_EQ(colours.size(), 17u); // 16 bands plus the last colour at 255
    EXPECT_EQ(p[17].rgb(), 0x101010u);
    EXPECT_EQ(p[31].rgb(), 0x101010u);
    EXPECT_EQ(p[32].rgb(), 0x202020u);

    // Window 50..150 stretched over the table: q = j - 50, idx = q * 256 / 101.
    const Palette w = buildPalette(50, 150, 256, true);
    EXPECT_EQ(w[50].rgb(), 0x000000u);
    EXPECT_EQ(w[51].rgb(), 0x020202u);
    EXPECT_EQ(w[100].rgb(), 0x7E7E7Eu); // 50 * 256 / 101 = 126
    EXPECT_EQ(w[149].rgb(), 0xFAFAFAu); // 99 * 256 / 101 = 250
    EXPECT_EQ(w[150].rgb(), 0xFFFFFFu);
}

TEST(Palette, CrossedThresholdsLetTheUpperColourWin)
{
    const Palette p = buildPalette(200, 100, 256, true);
    EXPECT_EQ(p[99].rgb(), 0x000000u);
    EXPECT_EQ(p[100].rgb(), 0xFFFFFFu);
    EXPECT_EQ(p[200].rgb(), 0xFFFFFFu);
}
