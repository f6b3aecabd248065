#pragma once
// The level meter of the live display: the peak of the newest sound on each
// channel, a peak held for 1.5 s of sound, and a trigger that finds where the
// sound first passes a level (a take that starts on sound).
//
// The display thread hands it every block it reads from the waveform ring,
// with the block's place in the capture stream; it never runs in the capture
// callback's time. Any thread reads it. Magnitudes are |sample| from 0 to
// 32768 (-32768 is 32768); each is an atomic word of its own, so a reading
// may mix two blocks, which a meter redrawn 30 times a second does not show.

#include <array>
#include <atomic>
#include <cstdint>
#include <span>
#include <string>

struct LevelReading {
    // Peak magnitude of the newest block, left and right.
    std::array<std::uint32_t, 2> peak{};
    // Highest magnitude of the last 1.5 s (held until a higher one or until
    // it is 1.5 s old).
    std::array<std::uint32_t, 2> held{};
};

class LevelMeter {
public:
    static constexpr std::uint32_t kFullScale = 32768;
    // 1.5 s of 44,100 Hz frames.
    static constexpr std::uint64_t kHoldFrames = 66150;
    static constexpr std::uint64_t kNotFound = ~std::uint64_t{0};

    // Display thread: a block of 16-bit little-endian stereo PCM (a trailing
    // partial frame is ignored) whose first byte is byte `position` of the
    // capture stream.
    void Add(std::span<const std::uint8_t> pcm, std::uint64_t position);
    [[nodiscard]] LevelReading Reading() const;

    // Looks for the first frame at or after capture byte `from` with a sample
    // of at least `magnitude` (1 to 32768) on either channel.
    void ArmTrigger(std::uint32_t magnitude, std::uint64_t from);
    void DisarmTrigger();
    // The capture byte of that frame; kNotFound until it came.
    [[nodiscard]] std::uint64_t TriggerPosition() const;

private:
    std::array<std::atomic<std::uint32_t>, 2> m_peak{};
    std::array<std::atomic<std::uint32_t>, 2> m_held{};
    // Display thread only: frames since each held peak was set.
    std::array<std::uint64_t, 2> m_heldAge{};
    // The trigger: the level (0: off) and where to look from, stored before
    // the level with release; the display thread loads the level with acquire.
    std::atomic<std::uint32_t> m_triggerMagnitude{0};
    std::atomic<std::uint64_t> m_triggerFrom{0};
    std::atomic<std::uint64_t> m_triggerPosition{kNotFound};
};

// The magnitude a level in dBFS stands for (0 dBFS is 32768), at least 1.
[[nodiscard]] std::uint32_t MagnitudeOfDbfs(double dbfs);
// "-6.0" for a magnitude, "-inf" for silence.
[[nodiscard]] std::string FormatDbfs(std::uint32_t magnitude);
