#pragma once
// The writer's data buffer: WRITE puts data in, the laser takes it out at the
// write speed. Keeps the fill level as of the last look and works out how much
// has drained since, so it needs no thread of its own.

#include "components/quarnel/emu/Clock.h"

#include <cstdint>

namespace quarnel::emu {

class WriteBuffer {
public:
    // bytesPerSecond 0: the drive writes as fast as data arrives; the buffer never
    // fills and never runs dry.
    void Configure(std::uint64_t capacityBytes, double bytesPerSecond);
    // Brings the level up to `now`. True when the buffer ran empty before `now`
    // while a track was streaming (the laser had nothing to write).
    bool Drain(Nanos now);
    [[nodiscard]] bool Fits(std::uint64_t bytes) const;
    void Fill(std::uint64_t bytes, Nanos now);
    // The stream ends (track closed, cache flushed, track ruined): an empty
    // buffer is no longer an underrun.
    void EndStream() { m_streaming = false; }
    // When the data now in the buffer will have been written.
    [[nodiscard]] Nanos EmptyAt() const;
    [[nodiscard]] std::uint64_t LevelBytes() const;
    [[nodiscard]] std::uint64_t CapacityBytes() const { return m_capacityBytes; }

private:
    std::uint64_t m_capacityBytes = 0;
    double m_bytesPerSecond = 0.0;
    double m_levelBytes = 0.0;
    Nanos m_at{};
    bool m_streaming = false;
};

} // namespace quarnel::emu
