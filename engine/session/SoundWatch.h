#pragma once
// Watches whether sound arrives during a take. Capture hands every buffer it
// gets to the waveform ring (kept or dropped for the display), so the ring's
// totals are the sound that arrived. The record timer looks once a second: a
// look that finds no new sound counts one second of gap, and the read-outs
// are based on the sound that arrived, never on the time that passed.

#include <atomic>
#include <cstdint>

namespace engine {

// How far capture has come: bytes handed to the waveform ring, kept or dropped.
struct CaptureMark {
    std::uint32_t written = 0;
    std::uint64_t dropped = 0;
};

[[nodiscard]] CaptureMark MarkCapture();
// Bytes that reached the ring from `from` to `to` (the written total wraps).
[[nodiscard]] std::uint64_t CapturedBetween(const CaptureMark& from, const CaptureMark& to);

class SoundWatch {
public:
    // User-interface thread, when the take starts.
    void Begin();
    // User-interface thread, once a second while the take runs: true when
    // sound arrived since the last look (or since Begin).
    bool Look();
    // Bytes of sound that arrived since Begin, as of the last look.
    [[nodiscard]] std::uint64_t ArrivedBytes() const { return m_arrivedBytes; }
    // Any thread: the looks of this take that found no new sound.
    [[nodiscard]] std::uint32_t GapSeconds() const;

private:
    CaptureMark m_last;
    std::uint64_t m_arrivedBytes = 0;
    // Read by the command line after the take; a counter on its own, relaxed.
    std::atomic<std::uint32_t> m_gapSeconds{0};
};

} // namespace engine
