#include "platform/wave/AlsaPcm.h"

#include <cerrno>

namespace platform::wave {

namespace {

MMRESULT openError(int error) {
    switch (error) {
    case -ENOENT:
    case -ENODEV:
    case -ENXIO:
        return MMSYSERR_BADDEVICEID;
    case -EBUSY:
    case -EAGAIN:
        return MMSYSERR_ALLOCATED;
    default:
        return MMSYSERR_ERROR;
    }
}

} // namespace

OpenedAlsaPcm OpenAlsaPcm(const std::string& device, snd_pcm_stream_t stream,
                          const WAVEFORMATEX& format, unsigned bufferUs) {
    snd_pcm_t* raw = nullptr;
    const int opened = snd_pcm_open(&raw, device.c_str(), stream, SND_PCM_NONBLOCK);
    if (opened < 0) {
        return {openError(opened), nullptr};
    }
    AlsaPcmPtr pcm(raw);
    const snd_pcm_format_t sampleFormat =
        format.wBitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    const int set = snd_pcm_set_params(pcm.get(), sampleFormat, SND_PCM_ACCESS_RW_INTERLEAVED,
                                       format.nChannels, format.nSamplesPerSec, 1, bufferUs);
    if (set < 0) {
        // -EINVAL: the device does not take this format; anything else is a
        // device that is there but does not work.
        return {set == -EINVAL ? WAVERR_BADFORMAT : MMSYSERR_ERROR, nullptr};
    }
    return {MMSYSERR_NOERROR, std::move(pcm)};
}

bool CanOpenAlsaPcm(const std::string& device, snd_pcm_stream_t stream) {
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, device.c_str(), stream, SND_PCM_NONBLOCK) < 0) {
        return false;
    }
    snd_pcm_close(pcm);
    return true;
}

bool RecoverAlsaPcm(snd_pcm_t* pcm, int error) {
    if (snd_pcm_recover(pcm, error, 1) < 0) {
        return false;
    }
    if (snd_pcm_stream(pcm) == SND_PCM_STREAM_CAPTURE) {
        return snd_pcm_start(pcm) >= 0;
    }
    return true;
}

} // namespace platform::wave
