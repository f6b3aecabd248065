#include "platform/wave/WavFileSink.h"

#include "platform/wave/PcmFormat.h"
#include "platform/wave/WaveLog.h"
#include "util/WavHeader.h"

#include <limits>

namespace platform::wave {

OpenedSink WavFileSink::Open(const std::string& path, const WAVEFORMATEX& format) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return {MMSYSERR_BADDEVICEID, nullptr};
    }
    std::unique_ptr<WavFileSink> sink(new WavFileSink(format, path, file));
    if (!sink->WriteHeader()) {
        return {MMSYSERR_ERROR, nullptr};
    }
    return {MMSYSERR_NOERROR, std::move(sink)};
}

WavFileSink::WavFileSink(const WAVEFORMATEX& format, std::string path, std::FILE* file)
    : PacedPlaybackSink(format), m_path(std::move(path)), m_file(file) {}

WavFileSink::~WavFileSink() {
    if (!WriteHeader()) {
        LogWaveEvent(Name(), "could not write the final WAV header");
    }
    std::fclose(m_file);
}

bool WavFileSink::WriteHeader() {
    const auto header = util::MakeWavHeader(ToWavFormat(m_format), m_dataBytes);
    const long end = std::ftell(m_file);
    const bool written = std::fseek(m_file, 0, SEEK_SET) == 0 &&
                         std::fwrite(header.data(), 1, header.size(), m_file) == header.size() &&
                         std::fflush(m_file) == 0;
    return written && (end <= 0 || std::fseek(m_file, end, SEEK_SET) == 0);
}

void WavFileSink::Consume(std::span<const char> bytes) {
    // A WAV file cannot describe more than 4 GB of audio; what comes after
    // that is dropped like a write that failed.
    const bool fits = bytes.size() <= std::numeric_limits<std::uint32_t>::max() - 44 - m_dataBytes;
    if (m_failed) {
        return;
    }
    if (!fits || std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) {
        m_failed = true;
        LogWaveEvent(Name(), "write failed; the rest of the playback is not recorded");
        return;
    }
    m_dataBytes += static_cast<std::uint32_t>(bytes.size());
}

} // namespace platform::wave
