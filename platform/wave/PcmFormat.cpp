#include "platform/wave/PcmFormat.h"

namespace platform::wave {

WAVEFORMATEX CdAudioFormat() {
    return FromWavFormat(util::kCdAudioWavFormat);
}

bool IsUsablePcmFormat(const WAVEFORMATEX& format) {
    constexpr DWORD kMinRate = 8000;
    constexpr DWORD kMaxRate = 192000;
    if (format.wFormatTag != WAVE_FORMAT_PCM) {
        return false;
    }
    if (format.nChannels < 1 || format.nChannels > 2) {
        return false;
    }
    if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) {
        return false;
    }
    if (format.nSamplesPerSec < kMinRate || format.nSamplesPerSec > kMaxRate) {
        return false;
    }
    const DWORD blockAlign = format.nChannels * format.wBitsPerSample / 8u;
    return format.nBlockAlign == blockAlign &&
           format.nAvgBytesPerSec == format.nSamplesPerSec * blockAlign;
}

bool IsSameFormat(const WAVEFORMATEX& a, const WAVEFORMATEX& b) {
    return a.wFormatTag == b.wFormatTag && a.nChannels == b.nChannels &&
           a.nSamplesPerSec == b.nSamplesPerSec && a.wBitsPerSample == b.wBitsPerSample &&
           a.nBlockAlign == b.nBlockAlign;
}

util::WavFormat ToWavFormat(const WAVEFORMATEX& format) {
    return {format.wFormatTag,      format.nChannels,   format.nSamplesPerSec,
            format.nAvgBytesPerSec, format.nBlockAlign, format.wBitsPerSample};
}

WAVEFORMATEX FromWavFormat(const util::WavFormat& format) {
    WAVEFORMATEX converted;
    converted.wFormatTag = format.formatTag;
    converted.nChannels = format.channels;
    converted.nSamplesPerSec = format.samplesPerSecond;
    converted.nAvgBytesPerSec = format.bytesPerSecond;
    converted.nBlockAlign = format.blockAlign;
    converted.wBitsPerSample = format.bitsPerSample;
    converted.cbSize = 0;
    return converted;
}

} // namespace platform::wave
