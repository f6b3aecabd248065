#pragma once
// The "file:PATH" input: the audio of a WAV file in real time, from the start
// again after its end. The file must hold 44,100 Hz 16-bit stereo PCM.

#include "platform/wave/PacedCaptureSource.h"

#include <cstdio>
#include <memory>

namespace platform::wave {

class WavFileSource : public PacedCaptureSource {
public:
    static OpenedSource Open(const std::string& path, const WAVEFORMATEX& format);

    void Start() override;
    [[nodiscard]] std::string Name() const override { return "file:" + m_path; }

protected:
    bool Fill(std::span<char> out) override;

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    WavFileSource(const WAVEFORMATEX& format, std::string path, std::FILE* file, long dataOffset,
                  std::uint32_t dataBytes);

    std::string m_path;
    std::unique_ptr<std::FILE, FileCloser> m_file;
    long m_dataOffset = 0;
    std::uint32_t m_dataBytes = 0; // whole frames
    std::uint32_t m_position = 0;  // bytes into the audio
};

} // namespace platform::wave
