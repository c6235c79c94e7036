#include "core/acquire/PcmOutput.h"

#include <alsa/asoundlib.h>
#include <mutex>

namespace dorvane {

namespace {

// ALSA prints its errors to stderr: a machine without sound is no error.
void quiet(const char *, int, const char *, int, const char *, ...) {}

snd_pcm_t *pcm(void *handle)
{
    return static_cast<snd_pcm_t *>(handle);
}

constexpr unsigned LatencyUs = 100000;

} // namespace

PcmOutput::~PcmOutput()
{
    close();
}

bool PcmOutput::open(unsigned sampleRate)
{
    static std::once_flag silenced;
    std::call_once(silenced, [] { snd_lib_error_set_handler(&quiet); });
    close();
    snd_pcm_t *handle = nullptr;
    // Not blocking on a device another program holds.
    if (snd_pcm_open(&handle, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return false;
    if (snd_pcm_nonblock(handle, 0) < 0 ||
        snd_pcm_set_params(handle, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1, sampleRate,
                           1, LatencyUs) < 0) {
        snd_pcm_close(handle);
        return false;
    }
    m_pcm = handle;
    return true;
}

bool PcmOutput::write(const int16_t *samples, size_t count)
{
    while (m_pcm && count > 0) {
        snd_pcm_sframes_t n = snd_pcm_writei(pcm(m_pcm), samples, count);
        if (n < 0)
            n = snd_pcm_recover(pcm(m_pcm), static_cast<int>(n), 1);
        if (n < 0)
            return false;
        samples += n;
        count -= static_cast<size_t>(n);
    }
    return m_pcm != nullptr;
}

void PcmOutput::drain()
{
    if (m_pcm)
        snd_pcm_drain(pcm(m_pcm));
}

void PcmOutput::drop()
{
    if (m_pcm)
        snd_pcm_drop(pcm(m_pcm));
}

void PcmOutput::close()
{
    if (m_pcm)
        snd_pcm_close(pcm(m_pcm));
    m_pcm = nullptr;
}

} // namespace dorvane
