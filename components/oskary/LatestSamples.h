#pragma once
// The newest stereo frames of the capture stream, handed from the display's
// reader thread to the widget on the GUI thread. The reader publishes each
// block it took from the ring; the widget copies the window out when it has
// changed. Both hold the lock only for a copy of at most the window's size.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

struct StereoFrame {
    std::int16_t left = 0;
    std::int16_t right = 0;
};

class LatestSamples {
public:
    explicit LatestSamples(std::size_t frames);

    // Number of frames kept (at least 1); drops what was kept.
    void Resize(std::size_t frames);
    [[nodiscard]] std::size_t Size() const;

    // Adds 16-bit little-endian stereo PCM; a trailing partial frame is
    // ignored.
    void Publish(const std::uint8_t* pcm, std::size_t bytes);

    // When frames were published since `seen`, copies the window, oldest
    // frame first, into `out`, updates `seen` and returns true.
    bool CopyIfNewer(std::uint64_t& seen, std::vector<StereoFrame>& out) const;

private:
    mutable std::mutex m_lock;
    std::vector<StereoFrame> m_frames;
    // Where the next frame goes; the oldest frame sits there too.
    std::size_t m_next = 0;
    // Counts publications.
    std::uint64_t m_sequence = 0;
};
