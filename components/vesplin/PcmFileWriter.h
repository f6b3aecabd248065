#pragma once
// Writes 44,100 Hz 16-bit stereo PCM into one WAV or MP3 file through an
// encoder output, so that the file on disk is valid at every moment:
// - WAV: the header goes first, declaring the length the caller expects; the
//   sound is appended as it comes; Finish corrects the header when less came.
// - MP3: an ID3v2 tag (with a title), then the frames as they are encoded,
//   beginning with a placeholder that Finish replaces by the summary frame.
// After the first failure nothing more is written; the file keeps what was.

#include "components/vesplin/EncodeError.h"
#include "components/vesplin/IEncodeOutput.h"
#include "components/vesplin/Mp3FrameEncoder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vesplin {

enum class PcmFileFormat { Wav, Mp3 };

class PcmFileWriter {
public:
    explicit PcmFileWriter(IEncodeOutput& output) : m_output(output) {}
    ~PcmFileWriter();
    PcmFileWriter(const PcmFileWriter&) = delete;
    PcmFileWriter& operator=(const PcmFileWriter&) = delete;

    // Creates the file and writes its beginning. `expectedPcmBytes` is the
    // length a WAV header declares until Finish; MP3 ignores it.
    bool Begin(const std::string& path, PcmFileFormat format, const Mp3Settings& settings,
               const Mp3Tags& tags, std::uint32_t expectedPcmBytes);
    // Appends `frames` interleaved stereo sample pairs.
    bool Write(const std::int16_t* interleaved, std::size_t frames);
    // Completes the file (summary frame or corrected header) and closes it.
    bool Finish();

    // Bytes in the file so far.
    [[nodiscard]] std::uint64_t FileBytes() const { return m_fileBytes; }
    [[nodiscard]] EncodeError Error() const { return m_error; }

private:
    bool Append(const std::uint8_t* data, std::size_t size);
    bool Fail(EncodeError error);

    IEncodeOutput& m_output;
    PcmFileFormat m_format = PcmFileFormat::Mp3;
    Mp3FrameEncoder m_encoder;
    std::vector<std::uint8_t> m_mp3;
    std::uint64_t m_audioStart = 0; // where the MP3 frames begin
    std::uint32_t m_declaredPcmBytes = 0;
    std::uint64_t m_pcmBytes = 0;
    std::uint64_t m_fileBytes = 0;
    bool m_open = false;
    EncodeError m_error = EncodeError::None;
};

} // namespace vesplin
