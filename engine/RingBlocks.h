#pragma once
// The display thread's reading of the waveform ring: whole capture buffers,
// taken only once they are complete in the ring, so the reader never waits
// inside Read and never makes capture wait. Each block is handed to `each`
// with its place in the capture stream: the ring's position plus the bytes it
// dropped so far (exact while the reader keeps up, as it drops nothing then).
// Returns once `stop` is set or the ring is stopped; past the ring's reading
// limit nothing more arrives and it idles until then.

#include "engine/BufManaEx.h"
#include "engine/RingPollPause.h"
#include "util/CdAudioSizes.h"

#include <atomic>
#include <cstdint>
#include <span>
#include <thread>
#include <vector>

template <typename Each>
void ReadRingBlocks(BufManaEx& ring, const std::atomic<bool>& stop, Each each) {
    std::vector<std::uint8_t> block(kCaptureBufferBytes);
    const auto blockBytes = static_cast<std::uint32_t>(block.size());
    // Acquire pairs with the release of whoever asks the reader to end.
    while (!stop.load(std::memory_order_acquire) && !ring.IsStopped()) {
        const std::uint32_t before = ring.GetReadTotal();
        if (ring.GetWriteTotal() - before < blockBytes) {
            std::this_thread::sleep_for(kRingPollPause);
            continue;
        }
        const std::uint64_t position = before + ring.GetDroppedBytes();
        if (!ring.Read(block.data(), blockBytes)) {
            return;
        }
        const std::uint32_t taken = ring.GetReadTotal() - before;
        if (taken == 0) {
            std::this_thread::sleep_for(kRingPollPause); // at the reading limit
            continue;
        }
        each(std::span<const std::uint8_t>(block.data(), taken), position);
    }
}
