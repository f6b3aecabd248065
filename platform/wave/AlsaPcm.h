#pragma once
// Opening an ALSA PCM in the wave service's format, and what ALSA errors mean
// to it.

#include "platform/wave/WaveTypes.h"

#include <alsa/asoundlib.h>

#include <memory>
#include <string>

namespace platform::wave {

struct AlsaPcmCloser {
    void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};
using AlsaPcmPtr = std::unique_ptr<snd_pcm_t, AlsaPcmCloser>;

struct OpenedAlsaPcm {
    MMRESULT result = MMSYSERR_ERROR;
    AlsaPcmPtr pcm;
};

// Non-blocking (a busy device fails at once instead of waiting), interleaved,
// with ALSA's own resampling allowed and the given buffer length.
[[nodiscard]] OpenedAlsaPcm OpenAlsaPcm(const std::string& device, snd_pcm_stream_t stream,
                                        const WAVEFORMATEX& format, unsigned bufferUs);

// True when a PCM of that name can be opened for the stream right now.
[[nodiscard]] bool CanOpenAlsaPcm(const std::string& device, snd_pcm_stream_t stream);

// After an error of snd_pcm_readi / snd_pcm_writei / snd_pcm_wait: recovers an
// over-run, under-run or suspend (prepare, and start again for capture) and
// returns true; false when the device cannot go on (it disappeared).
[[nodiscard]] bool RecoverAlsaPcm(snd_pcm_t* pcm, int error);

} // namespace platform::wave
