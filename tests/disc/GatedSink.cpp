#include "tests/disc/GatedSink.h"

#include <algorithm>
#include <chrono>

namespace disc::test {

void SinkRecord::Allow(std::size_t more) {
    const std::lock_guard lock(mutex);
    allowance += more;
    changed.notify_all();
}

std::string SinkRecord::Bytes() {
    const std::lock_guard lock(mutex);
    return bytes;
}

platform::wave::PlaybackWrite GatedSink::Write(std::span<const char> bytes) {
    std::unique_lock lock(m_record->mutex);
    m_record->changed.wait_for(lock, std::chrono::milliseconds(10),
                               [&] { return m_record->allowance > 0; });
    const std::size_t taken = std::min(bytes.size(), m_record->allowance) / 4 * 4;
    m_record->bytes.append(bytes.data(), taken);
    m_record->allowance -= taken;
    return {false, taken};
}

std::uint64_t GatedSink::FramesPlayed() {
    const std::lock_guard lock(m_record->mutex);
    return m_record->bytes.size() / 4;
}

void GatedSink::Pause() {
    const std::lock_guard lock(m_record->mutex);
    m_record->paused = true;
}

void GatedSink::Resume() {
    const std::lock_guard lock(m_record->mutex);
    m_record->paused = false;
}

} // namespace disc::test
