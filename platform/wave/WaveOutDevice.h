#pragma once
// One open wave-output device. Its service thread writes the queued buffers to
// the sink in order and hands each one back to the program's callback
// (MM_WOM_DONE) once the sink has played it. An output device that disappears
// is replaced by a null sink, so buffers keep coming back in real time and the
// program's playback ends as it would otherwise.

#include "platform/wave/PlaybackSink.h"
#include "platform/wave/WaveService.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace platform::wave {

class WaveOutDevice final : public WaveService {
public:
    WaveOutDevice(std::unique_ptr<PlaybackSink> sink, const WAVEFORMATEX& format, Notify notify);
    ~WaveOutDevice() override;
    WaveOutDevice(const WaveOutDevice&) = delete;
    WaveOutDevice& operator=(const WaveOutDevice&) = delete;

    MMRESULT Write(WAVEHDR* header, UINT headerSize);
    MMRESULT Pause() { return SetPaused(true); }
    MMRESULT Restart() { return SetPaused(false); }

private:
    struct Queued {
        WAVEHDR* header = nullptr;
        std::uint64_t endFrame = 0; // stream position after its last frame, once written
    };

    MMRESULT SetPaused(bool paused);
    void ServiceLoop() override;
    [[nodiscard]] bool HasQueuedHeaders() const override { return !m_queue.empty(); }
    void OnResetRequested() override { m_paused = false; }

    // With m_mutex held by lock; unlocks it around sink calls and callbacks.
    void WriteNext(std::unique_lock<std::mutex>& lock);
    void CompletePlayed(std::unique_lock<std::mutex>& lock);
    void ReturnAll();

    const WAVEFORMATEX m_format;

    // Under m_mutex. The first m_written entries of m_queue are in the sink;
    // m_offset bytes of the next one are.
    std::deque<Queued> m_queue;
    std::size_t m_written = 0;
    DWORD m_offset = 0;
    bool m_paused = false;

    // Service thread only.
    std::unique_ptr<PlaybackSink> m_sink;
    bool m_sinkPaused = false;
    std::uint64_t m_framesWritten = 0;
    std::uint64_t m_sinkBase = 0; // frames written before the current sink took over
};

} // namespace platform::wave
