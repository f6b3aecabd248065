#include "engine/BufMana.h"

#include "engine/RingPollPause.h"

#include <cstring>
#include <limits>
#include <thread>

bool BufMana::Init(std::int32_t slotSize, std::int32_t groupSize, std::uint32_t lastSeq,
                   std::int32_t bufferBytes) {
    m_buffer.reset();
    const bool usable = slotSize > 0 && groupSize > 0 && bufferBytes > 0 &&
                        lastSeq != std::numeric_limits<std::uint32_t>::max() &&
                        bufferBytes / slotSize / groupSize >= 2;
    m_slotSize = usable ? slotSize : 0;
    m_groupSize = usable ? groupSize : 0;
    m_lastSeq = usable ? lastSeq : 0;
    m_bufferBytes = usable ? bufferBytes : 0;
    m_putSeq.store(1, std::memory_order_relaxed);
    m_getSeq.store(1, std::memory_order_relaxed);
    m_filledSeq.store(0, std::memory_order_relaxed);
    m_releasedSeq.store(1, std::memory_order_relaxed);
    if (usable) {
        m_buffer = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(bufferBytes));
    }
    // Release: a side that sees the cleared flag also sees the state above.
    m_stopped.store(false, std::memory_order_release);
    return usable;
}

std::uint8_t* BufMana::GetWriteSlot() {
    const std::uint32_t slotCount = SlotCount();
    if (slotCount == 0) {
        return nullptr;
    }
    const std::uint32_t putSeq = m_putSeq.load(std::memory_order_relaxed);
    // Asking again means the slot handed out last time is filled; release
    // publishes its contents to a consumer that finds the stream finished.
    m_filledSeq.store(putSeq - 1, std::memory_order_release);
    if (putSeq > m_lastSeq || m_stopped.load(std::memory_order_acquire)) {
        return nullptr;
    }
    // Acquire: the consumer has finished copying the slots it gave back before
    // this slot is zero-filled and overwritten.
    while (putSeq - m_releasedSeq.load(std::memory_order_acquire) >= slotCount) {
        std::this_thread::sleep_for(kRingPollPause);
        if (m_stopped.load(std::memory_order_acquire)) {
            // The only slot there is to give belongs to the consumer.
            return nullptr;
        }
    }
    std::uint8_t* slot = SlotAddress(putSeq, slotCount);
    std::memset(slot, 0, static_cast<std::size_t>(m_slotSize));
    // Release: a consumer that sees putSeq + 1 also sees every slot before
    // putSeq filled (they were filled before this call).
    m_putSeq.store(putSeq + 1, std::memory_order_release);
    return slot;
}

std::uint8_t* BufMana::GetReadGroup() {
    const std::uint32_t slotCount = SlotCount();
    if (slotCount == 0) {
        return nullptr;
    }
    const std::uint32_t getSeq = m_getSeq.load(std::memory_order_relaxed);
    // Asking again means the consumer is done with its previous group; release
    // keeps the producer from overwriting it before the copy-out is complete.
    m_releasedSeq.store(getSeq, std::memory_order_release);
    if (getSeq > m_lastSeq || m_stopped.load(std::memory_order_acquire)) {
        return nullptr;
    }
    if (!ProducerFinished() && !GroupReady()) {
        do {
            if (ProducerFinished() || m_stopped.load(std::memory_order_acquire)) {
                break;
            }
            std::this_thread::sleep_for(kRingPollPause);
        } while (!GroupReady());
    }
    if (m_stopped.load(std::memory_order_acquire)) {
        // The newest slot may still be being filled: give up instead.
        return nullptr;
    }
    std::uint8_t* group = SlotAddress(getSeq, slotCount);
    m_getSeq.store(getSeq + static_cast<std::uint32_t>(m_groupSize), std::memory_order_release);
    return group;
}

void BufMana::Stop() {
    // Carries no data: both sides only give up when they see it.
    m_stopped.store(true, std::memory_order_release);
}

bool BufMana::CanWrite() const {
    const std::uint32_t slotCount = SlotCount();
    const std::uint32_t putSeq = m_putSeq.load(std::memory_order_relaxed);
    return slotCount != 0 && !m_stopped.load(std::memory_order_acquire) && putSeq <= m_lastSeq &&
           putSeq - m_releasedSeq.load(std::memory_order_acquire) < slotCount;
}

bool BufMana::CanRead() const {
    return SlotCount() != 0 && !m_stopped.load(std::memory_order_acquire) &&
           m_getSeq.load(std::memory_order_relaxed) <= m_lastSeq &&
           (ProducerFinished() || GroupReady());
}

std::uint32_t BufMana::SlotCount() const {
    if (m_slotSize <= 0 || m_groupSize <= 0) {
        return 0;
    }
    return static_cast<std::uint32_t>(m_bufferBytes / m_slotSize / m_groupSize * m_groupSize);
}

std::uint8_t* BufMana::SlotAddress(std::uint32_t seq, std::uint32_t slotCount) const {
    std::uint32_t index = seq % slotCount;
    if (index == 0) {
        index = slotCount;
    }
    return m_buffer.get() +
           static_cast<std::size_t>(index - 1) * static_cast<std::size_t>(m_slotSize);
}

bool BufMana::ProducerFinished() const {
    return m_filledSeq.load(std::memory_order_acquire) >= m_lastSeq;
}

bool BufMana::GroupReady() const {
    // More than one group outstanding: the newest slot may still be being
    // filled, every slot of the oldest group is complete.
    const std::uint32_t outstanding =
        m_putSeq.load(std::memory_order_acquire) - m_getSeq.load(std::memory_order_relaxed);
    return outstanding > static_cast<std::uint32_t>(m_groupSize);
}
