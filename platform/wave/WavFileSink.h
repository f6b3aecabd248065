#pragma once
// The "file:PATH" output: what is played goes into a WAV file, in real time.
// The header carries the final sizes once the device is closed.

#include "platform/wave/PacedPlaybackSink.h"

#include <cstdint>
#include <cstdio>

namespace platform::wave {

class WavFileSink : public PacedPlaybackSink {
public:
    static OpenedSink Open(const std::string& path, const WAVEFORMATEX& format);
    ~WavFileSink() override;

    [[nodiscard]] std::string Name() const override { return "file:" + m_path; }

protected:
    void Consume(std::span<const char> bytes) override;

private:
    WavFileSink(const WAVEFORMATEX& format, std::string path, std::FILE* file);
    bool WriteHeader();

    std::string m_path;
    std::FILE* m_file = nullptr;
    std::uint32_t m_dataBytes = 0;
    bool m_failed = false; // a write failed (disk full); logged once, the rest is dropped
};

} // namespace platform::wave
