#pragma once
// One open wave-input device. Its service thread reads the source all the time
// the device is started, keeps what it read in an internal ring, fills the
// queued buffers from the ring in order and hands each full buffer to the
// program's callback (MM_WIM_DATA). A buffer queued again from inside that
// callback misses nothing: audio read meanwhile waits in the ring.

#include "platform/wave/ByteRing.h"
#include "platform/wave/CaptureSource.h"
#include "platform/wave/WaveService.h"

#include <atomic>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

namespace platform::wave {

class WaveInDevice final : public WaveService {
public:
    // Four of the program's 37,632-byte buffers (0.85 s): room for a buffer
    // queued late, not a place to keep audio.
    static constexpr std::size_t kRingBytes = 4 * 37632;

    WaveInDevice(std::unique_ptr<CaptureSource> source, const WAVEFORMATEX& format, Notify notify);
    ~WaveInDevice() override;
    WaveInDevice(const WaveInDevice&) = delete;
    WaveInDevice& operator=(const WaveInDevice&) = delete;

    MMRESULT AddBuffer(WAVEHDR* header, UINT headerSize);
    MMRESULT Start();
    [[nodiscard]] WaveInStats Stats() const;

private:
    void ServiceLoop() override;
    [[nodiscard]] bool HasQueuedHeaders() const override { return !m_queue.empty(); }
    void OnResetRequested() override { m_started = false; }

    void CaptureSlice(std::vector<char>& slice);
    void Deliver();
    void ReturnAll();
    void NoteOverrun(std::string_view what);

    const std::string m_name;

    // Under m_mutex.
    std::deque<WAVEHDR*> m_queue;
    bool m_started = false;

    // Service thread only.
    std::unique_ptr<CaptureSource> m_source;
    ByteRing m_ring{kRingBytes};
    bool m_ringOverflowing = false; // one count and one log line per overflow

    // Read by any thread through stats(); written by the service thread. The
    // values are independent counters, so relaxed ordering is enough.
    std::atomic<std::uint32_t> m_overruns{0};
    std::atomic<bool> m_deviceLost{false};
    std::atomic<std::uint64_t> m_bytesRead{0};
};

} // namespace platform::wave
