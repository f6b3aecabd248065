#include "platform/wave/ByteRing.h"

#include <algorithm>
#include <cstring>

namespace platform::wave {

ByteRing::ByteRing(std::size_t capacityBytes) : m_bytes(capacityBytes) {}

bool ByteRing::Write(std::span<const char> bytes) {
    const std::size_t capacity = m_bytes.size();
    if (bytes.size() > capacity - m_size) {
        return false;
    }
    std::size_t tail = (m_head + m_size) % capacity;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t piece = std::min(bytes.size() - done, capacity - tail);
        std::memcpy(m_bytes.data() + tail, bytes.data() + done, piece);
        done += piece;
        tail = (tail + piece) % capacity;
    }
    m_size += bytes.size();
    return true;
}

std::size_t ByteRing::Read(std::span<char> out) {
    const std::size_t capacity = m_bytes.size();
    const std::size_t wanted = std::min(out.size(), m_size);
    std::size_t done = 0;
    while (done < wanted) {
        const std::size_t piece = std::min(wanted - done, capacity - m_head);
        std::memcpy(out.data() + done, m_bytes.data() + m_head, piece);
        done += piece;
        m_head = (m_head + piece) % capacity;
    }
    m_size -= wanted;
    return wanted;
}

void ByteRing::Clear() {
    m_head = 0;
    m_size = 0;
}

} // namespace platform::wave
