#include "engine/BufManaEx.h"

#include "engine/RingPollPause.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <thread>

namespace {

// Calls copy(ringOffset, streamOffset, bytes) for the one or two pieces that
// `length` bytes starting at stream position `total` occupy in the ring.
template <typename Copy>
void ForEachPiece(std::uint32_t total, std::uint32_t length, std::uint32_t capacity, Copy copy) {
    const std::uint32_t offset = total % capacity;
    const std::uint32_t first = std::min(length, capacity - offset);
    copy(offset, 0u, first);
    if (first < length) {
        copy(0u, first, length - first);
    }
}

} // namespace

void BufManaEx::Init(std::uint32_t capacity, std::uint32_t limit) {
    m_capacity = capacity;
    m_readTotal.store(0, std::memory_order_relaxed);
    m_writeTotal.store(0, std::memory_order_relaxed);
    m_droppedBytes.store(0, std::memory_order_relaxed);
    m_limit = limit;
    m_buffer.reset();
    m_buffer = std::make_unique<std::uint8_t[]>(capacity);
    // Release: a side that sees the cleared flag also sees the state above.
    m_stopped.store(false, std::memory_order_release);
}

bool BufManaEx::Write(const std::uint8_t* data, std::uint32_t length) {
    if (length == 0) {
        return true;
    }
    if (data == nullptr) {
        return false;
    }
    const std::uint32_t written = m_writeTotal.load(std::memory_order_relaxed);
    // Acquire: the reader has finished copying out the room it gave back.
    const std::uint32_t outstanding = written - m_readTotal.load(std::memory_order_acquire);
    const bool fits = std::uint64_t{outstanding} + length <= m_capacity;
    const bool numbered =
        std::uint64_t{written} + length <= std::numeric_limits<std::uint32_t>::max();
    if (!fits || !numbered) {
        m_droppedBytes.fetch_add(length, std::memory_order_relaxed);
        return true;
    }
    std::uint8_t* ring = m_buffer.get();
    ForEachPiece(written, length, m_capacity,
                 [&](std::uint32_t ringOffset, std::uint32_t dataOffset, std::uint32_t bytes) {
                     std::memcpy(ring + ringOffset, data + dataOffset, bytes);
                 });
    // Release: the block is stored before the reader can count it.
    m_writeTotal.store(written + length, std::memory_order_release);
    return true;
}

bool BufManaEx::Read(std::uint8_t* dest, std::uint32_t length) {
    if (length == 0) {
        return true;
    }
    if (dest == nullptr || length > m_capacity) {
        return false;
    }
    const std::uint32_t readTotal = m_readTotal.load(std::memory_order_relaxed);
    if (IsStopped() || readTotal >= m_limit) {
        return true;
    }
    std::uint32_t count = length;
    const std::uint64_t end = std::uint64_t{readTotal} + length;
    // Acquire: every byte below the total it sees is stored.
    std::uint32_t written = m_writeTotal.load(std::memory_order_acquire);
    if (end >= written) {
        if (end >= m_limit && written >= m_limit) {
            count = std::min(count, m_limit - readTotal);
        } else {
            while (end > written) {
                std::this_thread::sleep_for(kRingPollPause);
                if (IsStopped()) {
                    return true;
                }
                written = m_writeTotal.load(std::memory_order_acquire);
            }
        }
    }
    const std::uint8_t* ring = m_buffer.get();
    ForEachPiece(readTotal, count, m_capacity,
                 [&](std::uint32_t ringOffset, std::uint32_t destOffset, std::uint32_t bytes) {
                     std::memcpy(dest + destOffset, ring + ringOffset, bytes);
                 });
    // Release: the room is free only once the copy-out is complete.
    m_readTotal.store(readTotal + count, std::memory_order_release);
    return true;
}

void BufManaEx::SetStop(bool stop) {
    // Carries no data: the reader only gives up when it sees it.
    m_stopped.store(stop, std::memory_order_release);
}

bool BufManaEx::IsStopped() const {
    return m_stopped.load(std::memory_order_acquire);
}

std::uint64_t BufManaEx::GetDroppedBytes() const {
    return m_droppedBytes.load(std::memory_order_relaxed);
}

std::uint32_t BufManaEx::GetReadTotal() const {
    return m_readTotal.load(std::memory_order_acquire);
}

std::uint32_t BufManaEx::GetWriteTotal() const {
    return m_writeTotal.load(std::memory_order_acquire);
}
