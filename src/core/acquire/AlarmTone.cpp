#include "core/acquire/AlarmTone.h"

#include "core/acquire/PcmOutput.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace dorvane {

namespace {

constexpr unsigned SampleRate = 48000;
constexpr int Beeps = 5;
constexpr double FrequencyHz = 1500;
constexpr std::chrono::milliseconds ToneLength{60};
constexpr std::chrono::milliseconds GapLength{60};
constexpr size_t ToneSamples = SampleRate * ToneLength.count() / 1000;
constexpr size_t GapSamples = SampleRate * GapLength.count() / 1000;

// One beep and its gap, with short ramps so that the tone does not click.
std::vector<int16_t> beepAndGap()
{
    std::vector<int16_t> samples(ToneSamples + GapSamples, 0);
    constexpr size_t Ramp = SampleRate / 500; // 2 ms
    for (size_t i = 0; i < ToneSamples; ++i) {
        const double edge = std::min({1.0, double(i) / Ramp, double(ToneSamples - i) / Ramp});
        const double v = std::sin(2 * std::numbers::pi * FrequencyHz * double(i) / SampleRate);
        samples[i] = static_cast<int16_t>(std::lround(12000 * edge * v));
    }
    return samples;
}

} // namespace

AlarmTone &AlarmTone::instance()
{
    static AlarmTone alarm;
    return alarm;
}

AlarmTone::~AlarmTone()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_quitSignal.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

bool AlarmTone::sound()
{
    std::lock_guard lock(m_mutex);
    if (m_sounding || m_quit)
        return false;
    // The last alarm's thread has finished its work.
    if (m_thread.joinable())
        m_thread.join();
    m_sounding = true;
    m_thread = std::thread(&AlarmTone::play, this);
    return true;
}

bool AlarmTone::waitOrQuit(std::chrono::milliseconds duration)
{
    std::unique_lock lock(m_mutex);
    return m_quitSignal.wait_for(lock, duration, [this] { return m_quit; });
}

void AlarmTone::play()
{
    PcmOutput output;
    bool audible = output.open(SampleRate);
    const std::vector<int16_t> samples = beepAndGap();
    bool quit = false;
    for (int i = 0; i < Beeps && !quit; ++i) {
        if (audible)
            audible = output.write(samples.data(), samples.size());
        // Without a device the alarm keeps its time in silence.
        quit =
            audible ? waitOrQuit(std::chrono::milliseconds(0)) : waitOrQuit(ToneLength + GapLength);
    }
    if (quit)
        output.drop();
    else
        output.drain();
    output.close();
    m_sounding = false;
}

} // namespace dorvane
