#include "components/vesplin/PcmFileWriter.h"

#include "components/vesplin/WavHeader.h"

namespace vesplin {

namespace {

constexpr std::size_t kBytesPerFrame = 4;

} // namespace

PcmFileWriter::~PcmFileWriter() {
    if (m_open) {
        m_output.Close();
    }
}

bool PcmFileWriter::Begin(const std::string& path, PcmFileFormat format,
                          const Mp3Settings& settings, const Mp3Tags& tags,
                          std::uint32_t expectedPcmBytes) {
    m_format = format;
    if (format == PcmFileFormat::Mp3 && !m_encoder.Start(settings, tags)) {
        return Fail(EncodeError::EncoderFailed);
    }
    if (!m_output.Create(path)) {
        return Fail(EncodeError::CannotCreate);
    }
    m_open = true;
    if (format == PcmFileFormat::Wav) {
        m_declaredPcmBytes = expectedPcmBytes;
        const auto header = MakeWavHeader(expectedPcmBytes);
        return Append(header.data(), header.size());
    }
    const std::vector<std::uint8_t> tag = m_encoder.Id3v2Tag();
    m_audioStart = tag.size();
    return Append(tag.data(), tag.size());
}

bool PcmFileWriter::Write(const std::int16_t* interleaved, std::size_t frames) {
    if (!m_open || m_error != EncodeError::None) {
        return false;
    }
    if (m_format == PcmFileFormat::Wav) {
        const std::size_t bytes = frames * kBytesPerFrame;
        if (!Append(reinterpret_cast<const std::uint8_t*>(interleaved), bytes)) {
            return false;
        }
        m_pcmBytes += bytes;
        return true;
    }
    if (!m_encoder.Encode(interleaved, frames, m_mp3)) {
        return Fail(EncodeError::EncoderFailed);
    }
    return Append(m_mp3.data(), m_mp3.size());
}

bool PcmFileWriter::Finish() {
    if (!m_open) {
        return false;
    }
    bool ok = m_error == EncodeError::None;
    if (ok && m_format == PcmFileFormat::Wav && m_pcmBytes != m_declaredPcmBytes) {
        const auto header = MakeWavHeader(static_cast<std::uint32_t>(m_pcmBytes));
        ok = m_output.WriteAt(0, header.data(), header.size()) || Fail(EncodeError::WriteFailed);
    }
    if (ok && m_format == PcmFileFormat::Mp3) {
        ok = m_encoder.Flush(m_mp3) ? Append(m_mp3.data(), m_mp3.size())
                                    : Fail(EncodeError::EncoderFailed);
        const std::vector<std::uint8_t> summary =
            ok ? m_encoder.LameTagFrame() : std::vector<std::uint8_t>();
        if (!summary.empty() && !m_output.WriteAt(m_audioStart, summary.data(), summary.size())) {
            ok = Fail(EncodeError::WriteFailed);
        }
    }
    m_open = false;
    const bool closed = m_output.Close();
    return ok && (closed || Fail(EncodeError::WriteFailed));
}

bool PcmFileWriter::Append(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return true;
    }
    if (!m_output.Append(data, size)) {
        return Fail(EncodeError::WriteFailed);
    }
    m_fileBytes += size;
    return true;
}

bool PcmFileWriter::Fail(EncodeError error) {
    if (m_error == EncodeError::None) {
        m_error = error;
    }
    return false;
}

} // namespace vesplin
