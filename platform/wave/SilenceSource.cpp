#include "platform/wave/SilenceSource.h"

#include "platform/wave/PcmFormat.h"

#include <algorithm>

namespace platform::wave {

OpenedSource SilenceSource::Open(const WAVEFORMATEX& format) {
    if (!IsSameFormat(format, CdAudioFormat())) {
        return {WAVERR_BADFORMAT, nullptr};
    }
    return {MMSYSERR_NOERROR, std::unique_ptr<CaptureSource>(new SilenceSource(format))};
}

bool SilenceSource::Fill(std::span<char> out) {
    std::ranges::fill(out, '\0');
    return true;
}

} // namespace platform::wave
