#include "components/quarnel/emu/WriteBuffer.h"

#include <cmath>

namespace quarnel::emu {

namespace {
constexpr double kNanosPerSecond = 1e9;
}

void WriteBuffer::Configure(std::uint64_t capacityBytes, double bytesPerSecond) {
    m_capacityBytes = capacityBytes;
    m_bytesPerSecond = bytesPerSecond;
}

bool WriteBuffer::Drain(Nanos now) {
    if (now < m_at) {
        return false;
    }
    if (m_bytesPerSecond <= 0.0) {
        m_levelBytes = 0.0;
        m_at = now;
        return false;
    }
    const double drained =
        m_bytesPerSecond * static_cast<double>((now - m_at).count()) / kNanosPerSecond;
    const bool ranDry = m_streaming && drained > m_levelBytes;
    m_levelBytes = drained >= m_levelBytes ? 0.0 : m_levelBytes - drained;
    m_at = now;
    return ranDry;
}

bool WriteBuffer::Fits(std::uint64_t bytes) const {
    // An empty buffer takes any write, even one larger than itself.
    return m_bytesPerSecond <= 0.0 || m_levelBytes <= 0.0 ||
           m_levelBytes + static_cast<double>(bytes) <= static_cast<double>(m_capacityBytes);
}

void WriteBuffer::Fill(std::uint64_t bytes, Nanos now) {
    Drain(now);
    if (m_bytesPerSecond > 0.0) {
        m_levelBytes += static_cast<double>(bytes);
    }
    m_streaming = true;
}

Nanos WriteBuffer::EmptyAt() const {
    if (m_bytesPerSecond <= 0.0) {
        return m_at;
    }
    return m_at + Nanos{static_cast<Nanos::rep>(
                      std::ceil(m_levelBytes / m_bytesPerSecond * kNanosPerSecond))};
}

std::uint64_t WriteBuffer::LevelBytes() const {
    return static_cast<std::uint64_t>(std::llround(m_levelBytes));
}

} // namespace quarnel::emu
