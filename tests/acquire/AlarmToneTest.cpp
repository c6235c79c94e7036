#include "core/acquire/AlarmTone.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace dorvane;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

// Waits until the alarm has ended; how long that took.
Clock::duration waitForSilence(const AlarmTone &alarm)
{
    const auto start = Clock::now();
    while (alarm.isSounding() && Clock::now() - start < 5s)
        std::this_thread::sleep_for(5ms);
    return Clock::now() - start;
}

} // namespace

// This machine has no sound device, as a test machine seldom does: the
// alarm is silent, reports no error and still keeps its time.
TEST(TiltAlarm, SoundsOneAlarmAtATime)
{
    AlarmTone &alarm = AlarmTone::instance();
    waitForSilence(alarm);

    const auto start = Clock::now();
    ASSERT_TRUE(alarm.sound());
    EXPECT_LT(Clock::now() - start, 100ms); // it does not wait for the tones
    EXPECT_TRUE(alarm.isSounding());
    // Asked for again while it sounds: dropped.
    EXPECT_FALSE(alarm.sound());
    EXPECT_FALSE(alarm.sound());

    // Five tones of 60 ms, each followed by 60 ms of silence.
    waitForSilence(alarm);
    EXPECT_FALSE(alarm.isSounding());
    const auto lasted = Clock::now() - start;
    EXPECT_GE(lasted, 590ms);
    EXPECT_LT(lasted, 3s);

    // Once it ended, the next one sounds; the end of the process cuts it
    // short.
    EXPECT_TRUE(alarm.sound());
}
