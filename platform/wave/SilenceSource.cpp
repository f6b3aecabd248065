#include "platform/wave/SilenceSource.h"

#include "platform/wave/PcmFormat.h"

#include <algorithm>

OpenedSource SilenceSource::open(const WAVEFORMATEX& format) {
    if (!isSameFormat(format, cdAudioFormat())) {
        return {WAVERR_BADFORMAT, nullptr};
    }
    return {MMSYSERR_NOERROR, std::unique_ptr<CaptureSource>(new SilenceSource(format))};
}

bool SilenceSource::fill(std::span<char> out) {
    std::ranges::fill(out, '\0');
    return true;
}
