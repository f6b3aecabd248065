#include "platform/wave/MarkedSource.h"

#include "platform/wave/PcmFormat.h"

namespace platform::wave {

OpenedSource MarkedSource::Open(const WAVEFORMATEX& format) {
    if (!IsSameFormat(format, CdAudioFormat())) {
        return {WAVERR_BADFORMAT, nullptr};
    }
    return {MMSYSERR_NOERROR, std::unique_ptr<CaptureSource>(new MarkedSource(format))};
}

void MarkedSource::Start() {
    m_frame = 0;
    PacedCaptureSource::Start();
}

bool MarkedSource::Fill(std::span<char> out) {
    for (std::size_t at = 0; at + 4 <= out.size(); at += 4, ++m_frame) {
        for (std::size_t byte = 0; byte < 4; ++byte) {
            out[at + byte] = static_cast<char>((m_frame >> (8 * byte)) & 0xFFu);
        }
    }
    return true;
}

} // namespace platform::wave
