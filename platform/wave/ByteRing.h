#pragma once
// A fixed-size FIFO of bytes, used by one thread only: the wave-in service
// thread keeps audio here while the program has no buffer queued.

#include <cstddef>
#include <span>
#include <vector>

namespace platform::wave {

class ByteRing {
public:
    explicit ByteRing(std::size_t capacityBytes);

    // All or nothing: false (and nothing stored) when the bytes do not fit.
    [[nodiscard]] bool Write(std::span<const char> bytes);
    // Moves up to out.size() bytes out of the ring; returns how many.
    std::size_t Read(std::span<char> out);
    void Clear();

    [[nodiscard]] std::size_t Size() const { return m_size; }
    [[nodiscard]] bool Empty() const { return m_size == 0; }

private:
    std::vector<char> m_bytes;
    std::size_t m_head = 0; // next byte to read
    std::size_t m_size = 0;
};

} // namespace platform::wave
