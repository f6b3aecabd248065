#pragma once
// Which banner message is shown: 0 before the first tick, then 1, 2, ... up to
// the count and round again to 1. A count below 1 shows message 1 on every tick.

#include <cstdint>

namespace online {

class BannerRotation {
public:
    explicit BannerRotation(std::int32_t count = 0) : m_nCount(count) {}

    // One tick of the rotation timer; the number of the message to show now.
    std::int32_t Advance() {
        m_nCurrent = m_nCurrent < m_nCount ? m_nCurrent + 1 : 1;
        return m_nCurrent;
    }

    std::int32_t Current() const { return m_nCurrent; }

private:
    std::int32_t m_nCount = 0;
    std::int32_t m_nCurrent = 0;
};

} // namespace online
