#include "platform/wave/MarkedSource.h"

#include "platform/wave/PcmFormat.h"

OpenedSource MarkedSource::open(const WAVEFORMATEX& format) {
    if (!isSameFormat(format, cdAudioFormat())) {
        return {WAVERR_BADFORMAT, nullptr};
    }
    return {MMSYSERR_NOERROR, std::unique_ptr<CaptureSource>(new MarkedSource(format))};
}

void MarkedSource::start() {
    m_frame = 0;
    PacedCaptureSource::start();
}

bool MarkedSource::fill(std::span<char> out) {
    for (std::size_t at = 0; at + 4 <= out.size(); at += 4, ++m_frame) {
        for (std::size_t byte = 0; byte < 4; ++byte) {
            out[at + byte] = static_cast<char>((m_frame >> (8 * byte)) & 0xFFu);
        }
    }
    return true;
}
