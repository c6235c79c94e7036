#include "core/acquire/ProbeStatus.h"

#include "core/acquire/ProbeRequests.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

using namespace dorvane;

namespace {

// A record with the marker and the ASCII fields laid out from offset 2 on:
// one byte, 3 tilt digits, one byte, 3 roll digits, 3 pressure digits, 3
// temperature digits, 12 unread bytes, the sign byte, 6 counter digits.
ProbeStatus record(const char *fields)
{
    ProbeStatus status;
    status.bytes[0] = 0x55;
    status.bytes[1] = 0x3C;
    std::memcpy(status.bytes.data() + 2, fields, std::strlen(fields));
    return status;
}

} // namespace

TEST(ProbeAngle, FollowsTheSensorScaleOnBothSides)
{
    EXPECT_EQ(probeAngle(0x000), 0.0f);
    EXPECT_FLOAT_EQ(probeAngle(0x190), 10.0f);
    EXPECT_FLOAT_EQ(probeAngle(0x44C), 30.0f);
    EXPECT_FLOAT_EQ(probeAngle(0x76C), 50.0f);
    EXPECT_NEAR(probeAngle(0x7FF), 56.2574f, 0.0001f);
    EXPECT_NEAR(probeAngle(0x800), -56.2574f, 0.0001f);
    EXPECT_NEAR(probeAngle(0xC00), -27.8f, 0.0001f);
    // 0xFFF is the complement of 0: a negative zero.
    EXPECT_EQ(probeAngle(0xFFF), 0.0f);
    EXPECT_TRUE(std::signbit(probeAngle(0xFFF)));
}

TEST(ProbeAngle, SegmentsJoinWhereTheyMeet)
{
    EXPECT_FLOAT_EQ(probeAngle(401), 10.028571f);  // 10 + 1 x 0.028571429
    EXPECT_FLOAT_EQ(probeAngle(1100), 30.0f);      // 10 + 700 x 0.028571429
    EXPECT_FLOAT_EQ(probeAngle(1101), 30.025f);    // 30 + 1 x 0.025
    EXPECT_FLOAT_EQ(probeAngle(1901), 50.042568f); // 50 + 1 x 0.04256757
    EXPECT_FLOAT_EQ(probeAngle(4095 - 400), -10.0f);
}

TEST(ProbeStatusRecord, ReadsTheMarker)
{
    EXPECT_TRUE(record("").hasMarker());
    ProbeStatus status = record("");
    status.bytes[1] = 0x3D;
    EXPECT_FALSE(status.hasMarker());
    status.bytes[0] = 0x3C;
    status.bytes[1] = 0x55;
    EXPECT_FALSE(status.hasMarker());
    EXPECT_FALSE(ProbeStatus{}.hasMarker());
}

TEST(ProbeStatusRecord, ReadsTheHexadecimalFields)
{
    const ProbeStatus status = record("T190R44C3F50B4");
    EXPECT_EQ(status.tiltCount(), 0x190);
    EXPECT_EQ(status.rollCount(), 0x44C);
    EXPECT_EQ(status.pressure(), 0x3F5);
    EXPECT_EQ(status.temperature(), 0x0B4);
    EXPECT_FLOAT_EQ(status.tiltDegrees(), 10.0f);
    EXPECT_FLOAT_EQ(status.rollDegrees(), 30.0f);
}

TEST(ProbeStatusRecord, UpperCasesHexadecimalDigits)
{
    const ProbeStatus status = record("T7ffR44cabcdef");
    EXPECT_EQ(status.tiltCount(), 0x7FF);
    EXPECT_EQ(status.rollCount(), 0x44C);
    EXPECT_EQ(status.pressure(), 0xABC);
    EXPECT_EQ(status.temperature(), 0xDEF);
}

TEST(ProbeStatusRecord, HexadecimalDigitsStopAtALetterBeyondF)
{
    const ProbeStatus status = record("T1G2RG00A:B 12");
    EXPECT_EQ(status.tiltCount(), 0x1);
    EXPECT_EQ(status.rollCount(), 0);
    EXPECT_EQ(status.pressure(), 0xA);
    EXPECT_EQ(status.temperature(), 0);
}

TEST(ProbeStatusRecord, HexadecimalFieldsEndAtThreeDigits)
{
    // The digits after each field belong to the next one.
    const ProbeStatus status = record("TFFFFFFFFFFFFF");
    EXPECT_EQ(status.tiltCount(), 0xFFF);
    EXPECT_EQ(status.rollCount(), 0xFFF);
    EXPECT_EQ(status.pressure(), 0xFFF);
    EXPECT_EQ(status.temperature(), 0xFFF);
}

TEST(ProbeStatusRecord, ReadsTheSignedDistanceCounter)
{
    //                         tilt roll press temp  12 unread    sign digits
    const ProbeStatus forward = record("T000R000000000"
                                       "............"
                                       "\x40"
                                       "000200");
    EXPECT_EQ(forward.distanceCount(), 200);
    EXPECT_FLOAT_EQ(forward.distanceMetres(), 1.0f);

    const ProbeStatus back = record("T000R000000000............-000200");
    EXPECT_EQ(back.distanceCount(), -200);
    EXPECT_FLOAT_EQ(back.distanceMetres(), -1.0f);

    // Any byte but 0x40 is negative, a zero byte included.
    ProbeStatus zeroSign = forward;
    zeroSign.bytes[28] = 0;
    EXPECT_FLOAT_EQ(zeroSign.distanceMetres(), -1.0f);
}

TEST(ProbeStatusRecord, DistanceDigitsStopAtTheFirstNonDigit)
{
    const ProbeStatus status = record("T000R000000000............\x40"
                                      "00012A");
    EXPECT_EQ(status.distanceCount(), 12);
    EXPECT_FLOAT_EQ(status.distanceMetres(), 0.06f);
}

TEST(ProbeStatusRecord, DistanceDigitsEndAtSixCharacters)
{
    // Byte 35 lies beyond the counter even when it is a digit.
    const ProbeStatus status = record("T000R000000000............\x40"
                                      "1234567");
    EXPECT_EQ(status.distanceCount(), 123456);
}

TEST(ProbeStatusRecord, DistanceDigitsAreReadAsByAtoi)
{
    // Leading blanks are skipped and a sign of its own is taken.
    EXPECT_EQ(record("T000R000000000............\x40  -12x").distanceCount(), -12);
    EXPECT_EQ(record("T000R000000000............\x40 +0042").distanceCount(), 42);
    EXPECT_EQ(record("T000R000000000............\x40 x1234").distanceCount(), 0);
}

TEST(ProbeStatusRecord, AZeroRecordReadsAsZeroAndNegative)
{
    const ProbeStatus status;
    EXPECT_EQ(status.tiltCount(), 0);
    EXPECT_EQ(status.pressure(), 0);
    EXPECT_EQ(status.distanceCount(), 0);
    EXPECT_EQ(status.tiltDegrees(), 0.0f);
}

TEST(ProbeRequestTable, DetectionRadiiSkip0x62)
{
    EXPECT_EQ(probe::detectRadiusRequest(125), 0x58);
    EXPECT_EQ(probe::detectRadiusRequest(187), 0x59);
    EXPECT_EQ(probe::detectRadiusRequest(250), 0x5A);
    EXPECT_EQ(probe::detectRadiusRequest(375), 0x5B);
    EXPECT_EQ(probe::detectRadiusRequest(500), 0x5C);
    EXPECT_EQ(probe::detectRadiusRequest(750), 0x5D);
    EXPECT_EQ(probe::detectRadiusRequest(1000), 0x5E);
    EXPECT_EQ(probe::detectRadiusRequest(1500), 0x5F);
    EXPECT_EQ(probe::detectRadiusRequest(2000), 0x60);
    EXPECT_EQ(probe::detectRadiusRequest(3000), 0x61);
    EXPECT_EQ(probe::detectRadiusRequest(4500), 0x63);
    EXPECT_EQ(probe::detectRadiusRequest(6000), 0x64);
    EXPECT_EQ(probe::detectRadiusRequest(188), std::nullopt);
    EXPECT_EQ(probe::detectRadiusRequest(0), std::nullopt);
}

TEST(ProbeRequestTable, PulseWidths)
{
    EXPECT_EQ(probe::pulseWidthRequest(4), 0x24);
    EXPECT_EQ(probe::pulseWidthRequest(8), 0x25);
    EXPECT_EQ(probe::pulseWidthRequest(12), 0x26);
    EXPECT_EQ(probe::pulseWidthRequest(16), 0x27);
    EXPECT_EQ(probe::pulseWidthRequest(20), 0x28);
    EXPECT_EQ(probe::pulseWidthRequest(10), std::nullopt);
}

TEST(ProbeRequestTable, CommandCodes)
{
    EXPECT_EQ(probe::QueryState, '?');
    EXPECT_EQ(probe::Start, '=');
    EXPECT_EQ(probe::Stop, '>');
    EXPECT_EQ(probe::ZeroDistance, ':');
}
