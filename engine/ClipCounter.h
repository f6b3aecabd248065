#pragma once
// Counts the samples at full scale (32767 or -32768) in 16-bit little-endian
// PCM handed to it piece by piece. A piece may end inside a sample: its low
// byte is kept for the next piece, so the count does not depend on how the
// stream was cut. One thread counts; any thread reads the total.

#include <atomic>
#include <cstdint>
#include <span>

class ClipCounter {
public:
    void Count(std::span<const std::uint8_t> pcm);
    // Forgets the total and a kept byte (only while no piece is being counted).
    void Reset();
    [[nodiscard]] std::uint64_t Total() const;

private:
    // Relaxed: the total carries no other data.
    std::atomic<std::uint64_t> m_total{0};
    std::uint8_t m_lowByte = 0;
    bool m_haveLowByte = false;
};
