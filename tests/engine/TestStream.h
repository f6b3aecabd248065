#pragma once
// A reproducible pseudo-random byte stream for the engine tests: byte t of the
// stream depends only on t, so a consumer can check what it receives without
// keeping a copy of what was sent.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <thread>

namespace enginetest {

inline std::uint8_t StreamByte(std::uint64_t position) {
    std::uint64_t x = position * 0x9E3779B97F4A7C15ull;
    x ^= x >> 29;
    return static_cast<std::uint8_t>(x >> 24);
}

inline void FillStream(std::uint8_t* dest, std::uint64_t position, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        dest[i] = StreamByte(position + i);
    }
}

// The number of leading bytes of `data` that match the stream at `position`.
inline std::size_t MatchingStream(const std::uint8_t* data, std::uint64_t position,
                                  std::size_t length) {
    std::size_t i = 0;
    while (i < length && data[i] == StreamByte(position + i)) {
        ++i;
    }
    return i;
}

// Polls `done` until it holds; false if it never does within a generous
// bound, so that a broken wait fails the test instead of hanging it.
template <typename Predicate> bool Eventually(Predicate done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Long enough for a side that wrongly returns instead of waiting to have done
// so: several of the rings' 50 ms polling pauses.
inline void GiveTimeToReturn() {
    std::this_thread::sleep_for(std::chrono::milliseconds(160));
}

} // namespace enginetest
