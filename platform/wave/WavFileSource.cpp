#include "platform/wave/WavFileSource.h"

#include "platform/wave/PcmFormat.h"
#include "util/WavHeader.h"

#include <algorithm>

namespace platform::wave {

OpenedSource WavFileSource::Open(const std::string& path, const WAVEFORMATEX& format) {
    if (!IsSameFormat(format, CdAudioFormat())) {
        return {WAVERR_BADFORMAT, nullptr};
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return {MMSYSERR_BADDEVICEID, nullptr};
    }
    const auto layout = util::ReadWavLayout(file);
    const std::uint32_t dataBytes =
        layout ? layout->dataBytes - layout->dataBytes % format.nBlockAlign : 0;
    if (!layout || !IsSameFormat(FromWavFormat(layout->format), format) || dataBytes == 0) {
        std::fclose(file);
        return {WAVERR_BADFORMAT, nullptr};
    }
    return {MMSYSERR_NOERROR, std::unique_ptr<CaptureSource>(new WavFileSource(
                                  format, path, file, layout->dataOffset, dataBytes))};
}

WavFileSource::WavFileSource(const WAVEFORMATEX& format, std::string path, std::FILE* file,
                             long dataOffset, std::uint32_t dataBytes)
    : PacedCaptureSource(format), m_path(std::move(path)), m_file(file), m_dataOffset(dataOffset),
      m_dataBytes(dataBytes) {}

void WavFileSource::Start() {
    m_position = 0;
    PacedCaptureSource::Start();
}

bool WavFileSource::Reopen() {
    OpenedSource opened = Open(m_path, m_format);
    if (opened.result != MMSYSERR_NOERROR) {
        return false;
    }
    auto& fresh = static_cast<WavFileSource&>(*opened.backend);
    m_file = std::move(fresh.m_file);
    m_dataOffset = fresh.m_dataOffset;
    m_dataBytes = fresh.m_dataBytes;
    m_position = 0;
    return true;
}

bool WavFileSource::Fill(std::span<char> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        if (m_position == m_dataBytes) {
            m_position = 0;
        }
        if (std::fseek(m_file.get(), m_dataOffset + static_cast<long>(m_position), SEEK_SET) != 0) {
            return false;
        }
        const std::size_t piece =
            std::min<std::size_t>(out.size() - done, m_dataBytes - m_position);
        if (std::fread(out.data() + done, 1, piece, m_file.get()) != piece) {
            return false; // the file shrank or cannot be read any more
        }
        done += piece;
        m_position += static_cast<std::uint32_t>(piece);
    }
    return true;
}

} // namespace platform::wave
