#include "platform/wave/PcmFormat.h"

WAVEFORMATEX cdAudioFormat() {
    WAVEFORMATEX format;
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.nAvgBytesPerSec = 176400;
    format.nBlockAlign = 4;
    format.wBitsPerSample = 16;
    format.cbSize = 0;
    return format;
}

bool isUsablePcmFormat(const WAVEFORMATEX& format) {
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

bool isSameFormat(const WAVEFORMATEX& a, const WAVEFORMATEX& b) {
    return a.wFormatTag == b.wFormatTag && a.nChannels == b.nChannels &&
           a.nSamplesPerSec == b.nSamplesPerSec && a.wBitsPerSample == b.wBitsPerSample &&
           a.nBlockAlign == b.nBlockAlign;
}
