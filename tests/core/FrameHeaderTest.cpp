#include "core/data/FrameHeader.h"

#include "core/base/ByteOrder.h"
#include "core/base/GbkText.h"
#include "core/data/AnimationFileHeader.h"

#include <gtest/gtest.h>

using namespace dorvane;

namespace {

std::array<uint8_t, FrameHeader::Size> headerBytesWithEveryField()
{
    std::array<uint8_t, FrameHeader::Size> b{};
    // Reserved bytes carry data too: they must survive a round trip.
    for (size_t i = 320; i < 512; ++i)
        b[i] = static_cast<uint8_t>(i * 7);
    b[5] = 0xAA;
    b[308] = 0x55;
    le::writeU16(&b[0], 73);
    b[2] = 1;
    b[3] = 1;
    b[4] = 1;
    le::writeU16(&b[8], 450);
    le::writeU16(&b[12], 15);
    le::writeU16(&b[16], 1200);
    le::writeF32(&b[24], 12.75f);
    le::writeF32(&b[32], -3.5f);
    le::writeF32(&b[36], 44.25f);
    std::fill_n(&b[40], 32, 'A'); // no terminator: fills its field
    std::fill_n(&b[72], 5, 'T');
    std::fill_n(&b[104], 199, 'N');
    le::writeU16(&b[304], 301);
    le::writeU16(&b[306], 199);
    b[310] = 1;
    b[311] = 1;
    le::writeU16(&b[312], 10);
    le::writeU16(&b[314], 20);
    le::writeU16(&b[316], 13);
    le::writeU16(&b[318], 24);
    return b;
}

} // namespace

TEST(FrameHeader, DecodesEveryFieldAtItsOffsetAndEncodesTheSameBytes)
{
    const auto bytes = headerBytesWithEveryField();
    const FrameHeader h = FrameHeader::decode(bytes);
    EXPECT_EQ(h.signature, 73);
    EXPECT_EQ(h.defectFrame, 1);
    EXPECT_EQ(h.reportShot, 1);
    EXPECT_EQ(h.excludeSediment, 1);
    EXPECT_EQ(h.pipeRadius, 450);
    EXPECT_EQ(h.errorRate, 15);
    EXPECT_EQ(h.detectRadius, 1200);
    EXPECT_EQ(h.cableLength, 12.75f);
    EXPECT_EQ(h.tilt, -3.5f);
    EXPECT_EQ(h.roll, 44.25f);
    EXPECT_EQ(h.titleText(), "TTTTT");
    EXPECT_EQ(h.notesText(), std::string(199, 'N'));
    EXPECT_EQ(h.circleX, 301);
    EXPECT_EQ(h.circleY, 199);
    EXPECT_EQ(h.circleOn, 1);
    EXPECT_EQ(h.rulerOn, 1);
    EXPECT_EQ(h.rulerX1, 10);
    EXPECT_EQ(h.rulerY1, 20);
    EXPECT_EQ(h.rulerX2, 13);
    EXPECT_EQ(h.rulerY2, 24);
    EXPECT_EQ(h.encoded(), bytes);
}

TEST(FrameHeader, TextThatFillsItsFieldStopsAtTheFieldEnd)
{
    const FrameHeader h = FrameHeader::decode(headerBytesWithEveryField());
    // The pipe name has no terminator; the title that follows must not leak in.
    EXPECT_EQ(h.pipeNameText(), std::string(32, 'A'));
}

TEST(FrameHeader, ChangedFieldsAreTheOnlyChangedBytes)
{
    const auto bytes = headerBytesWithEveryField();
    FrameHeader h = FrameHeader::decode(bytes);
    h.pipeRadius = 0x1234;
    h.roll = 1.0f;
    const auto out = h.encoded();
    for (size_t i = 0; i < FrameHeader::Size; ++i) {
        const bool changed = (i >= 8 && i < 10) || (i >= 36 && i < 40);
        if (!changed) {
            EXPECT_EQ(out[i], bytes[i]) << "byte " << i;
        }
    }
    EXPECT_EQ(le::readU16(&out[8]), 0x1234);
    EXPECT_EQ(le::readF32(&out[36]), 1.0f);
}

TEST(FrameHeader, StoredTextsKeepTheirLimitsAndWholeCharacters)
{
    FrameHeader h;
    h.setTitle(std::string(40, 'x'));
    EXPECT_EQ(h.titleText().size(), 31u);
    EXPECT_EQ(h.title[31], '\0');

    // 30 letters and a two-byte character: the character does not fit in 31.
    h.setPipeName(std::string(30, 'a') + utf8ToGbk("管"));
    EXPECT_EQ(h.pipeNameText(), std::string(30, 'a'));

    h.setNotes(std::string(250, 'n'));
    EXPECT_EQ(h.notesText().size(), 199u);

    h.setTitle("short");
    EXPECT_EQ(h.titleText(), "short");
    EXPECT_EQ(h.title[6], '\0'); // the rest of the old text is gone
    EXPECT_EQ(h.title[20], '\0');
}

TEST(FrameHeader, RulerLengthTruncatesPixelsBeforeScaling)
{
    FrameHeader h;
    h.detectRadius = 1000;
    h.rulerX1 = 0;
    h.rulerY1 = 0;
    h.rulerX2 = 3;
    h.rulerY2 = 4;
    EXPECT_EQ(h.rulerLengthMm(), 20); // 5 px * 4 mm + 0.5
    h.rulerX2 = 4;                    // sqrt(32) = 5.66 px: still 5 whole pixels
    EXPECT_EQ(h.rulerLengthMm(), 20);
    h.rulerX2 = 250;
    h.rulerY2 = 0;
    EXPECT_EQ(h.rulerLengthMm(), 1000);
    // The longest ruler: 65535 * sqrt(2) = 92680.4, so 92680 pixels, at
    // 65535 mm: 92680 * 65535 * 0.004 = 24295135.2 mm.
    h.rulerX2 = 65535;
    h.rulerY2 = 65535;
    h.detectRadius = 65535;
    EXPECT_EQ(h.rulerLengthMm(), 24295135);
}

TEST(FrameHeader, ConsistencyTestChecksEachLimit)
{
    FrameHeader h;
    h.detectRadius = 1000;
    h.pipeRadius = 300;
    h.errorRate = 10;
    EXPECT_TRUE(isConsistentHeader(h));

    FrameHeader c = h;
    c.pipeRadius = 0;
    EXPECT_FALSE(isConsistentHeader(c));
    c.pipeRadius = 1000; // as large as the detection radius
    EXPECT_TRUE(isConsistentHeader(c));
    c.pipeRadius = 1001;
    EXPECT_FALSE(isConsistentHeader(c));

    c = h;
    c.detectRadius = 124;
    c.pipeRadius = 100;
    EXPECT_FALSE(isConsistentHeader(c));
    c.detectRadius = 125;
    c.pipeRadius = 125;
    EXPECT_TRUE(isConsistentHeader(c));
    c.detectRadius = 6000;
    EXPECT_TRUE(isConsistentHeader(c));
    c.detectRadius = 6001;
    EXPECT_FALSE(isConsistentHeader(c));

    c = h;
    c.errorRate = 50;
    EXPECT_TRUE(isConsistentHeader(c));
    c.errorRate = 51;
    EXPECT_FALSE(isConsistentHeader(c));
}

TEST(AnimationFileHeader, TextFieldsKeepTheirByteLimits)
{
    AnimationFileHeader h = AnimationFileHeader::newAnimation();
    EXPECT_TRUE(h.isAnimation());
    EXPECT_EQ(h.bytes()[0], 'I');
    EXPECT_EQ(h.bytes()[1], 'V');

    // Eight bytes fill the manhole field without a terminator; the end field
    // right after it must not run into it.
    h.setStartWell("ABCDEFGHIJ");
    h.setEndWell("Z9");
    EXPECT_EQ(h.startWell(), "ABCDEFGH");
    EXPECT_EQ(h.endWell(), "Z9");

    h.setPlace(std::string(70, 'p'));
    EXPECT_EQ(h.place().size(), 64u);
    EXPECT_EQ(h.startWell(), "ABCDEFGH");

    // Three two-byte characters and two letters: the third character would
    // need bytes 7 and 8 of 8 only partly, so it is left out.
    h.setStartWell("ab" + utf8ToGbk("井号井"));
    EXPECT_EQ(h.startWell(), "ab" + utf8ToGbk("井号井"));
    h.setStartWell("abc" + utf8ToGbk("井号井"));
    EXPECT_EQ(h.startWell(), "abc" + utf8ToGbk("井号"));
}

TEST(AnimationFileHeader, ShorterTextsEndWithAZeroAndLeaveTheRest)
{
    AnimationFileHeader h;
    h.setStartWell("W1234");
    h.setStartWell("W12");
    EXPECT_EQ(h.startWell(), "W12");
    EXPECT_EQ(h.bytes()[72 + 3], 0);
    EXPECT_EQ(h.bytes()[72 + 4], '4'); // stays, never read

    h.setPlace(std::string(63, 'a'));
    EXPECT_EQ(h.bytes()[8 + 63], 0);
    h.setPlace(std::string(64, 'b'));
    EXPECT_EQ(h.place(), std::string(64, 'b'));
    EXPECT_EQ(h.bytes()[72], 'W'); // the next field is untouched
}

TEST(AnimationFileHeader, ReservedBytesAreKept)
{
    AnimationFileHeader h;
    h.bytes()[500] = 0x42;
    h.bytes()[2] = 0x17;
    h.setMagic(AnimationFileHeader::Magic);
    h.setPlace("here");
    EXPECT_EQ(h.bytes()[500], 0x42);
    EXPECT_EQ(h.bytes()[2], 0x17);
}
