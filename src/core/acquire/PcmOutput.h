#pragma once

#include <cstddef>
#include <cstdint>

namespace dorvane {

// Mono 16-bit sound to the system's default output (ALSA). Where there is
// none, open() fails quietly: the library's own complaints are silenced.
class PcmOutput
{
public:
    PcmOutput() = default;
    ~PcmOutput();
    PcmOutput(const PcmOutput &) = delete;
    PcmOutput &operator=(const PcmOutput &) = delete;

    bool open(unsigned sampleRate);
    bool isOpen() const { return m_pcm != nullptr; }
    // Plays the samples, waiting while the device's buffer is full.
    bool write(const int16_t *samples, size_t count);
    // Lets what was written play out, or drops it.
    void drain();
    void drop();
    void close();

private:
    void *m_pcm = nullptr; // snd_pcm_t
};

} // namespace dorvane
