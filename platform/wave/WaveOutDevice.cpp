#include "platform/wave/WaveOutDevice.h"

#include "platform/wave/NullSink.h"
#include "platform/wave/WaveLog.h"

namespace platform::wave {

WaveOutDevice::WaveOutDevice(std::unique_ptr<PlaybackSink> sink, const WAVEFORMATEX& format,
                             Notify notify)
    : WaveService(format.nBlockAlign, std::move(notify)), m_format(format),
      m_sink(std::move(sink)) {
    StartService();
}

WaveOutDevice::~WaveOutDevice() {
    StopService();
}

MMRESULT WaveOutDevice::Write(WAVEHDR* header, UINT headerSize) {
    const std::lock_guard lock(m_mutex);
    const MMRESULT queued = QueueHeader(header, headerSize);
    if (queued == MMSYSERR_NOERROR) {
        m_queue.push_back({header, 0});
        m_wake.notify_all();
    }
    return queued;
}

MMRESULT WaveOutDevice::SetPaused(bool paused) {
    const std::lock_guard lock(m_mutex);
    if (m_closing) {
        return MMSYSERR_INVALHANDLE;
    }
    m_paused = paused;
    m_wake.notify_all();
    return MMSYSERR_NOERROR;
}

void WaveOutDevice::ServiceLoop() {
    NotifyProgram(MM_WOM_OPEN, nullptr);
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] {
            return m_closing || ResetPending() || m_paused != m_sinkPaused ||
                   (!m_paused && !m_queue.empty());
        });
        if (ResetPending()) {
            lock.unlock();
            m_sink->Discard();
            ReturnAll();
            lock.lock();
            FinishReset();
            continue;
        }
        if (m_closing) {
            break;
        }
        if (m_paused != m_sinkPaused) {
            const bool paused = m_paused;
            lock.unlock();
            paused ? m_sink->Pause() : m_sink->Resume();
            m_sinkPaused = paused;
            lock.lock();
            continue;
        }
        WriteNext(lock);
        CompletePlayed(lock);
    }
    lock.unlock();
    // A WAV file gets its final header before close returns.
    m_sink.reset();
    NotifyProgram(MM_WOM_CLOSE, nullptr);
}

void WaveOutDevice::WriteNext(std::unique_lock<std::mutex>& lock) {
    if (m_written == m_queue.size()) {
        lock.unlock();
        m_sink->WaitWhilePlaying();
        lock.lock();
        return;
    }
    // Only this thread removes entries, so the header stays at m_written.
    WAVEHDR* header = m_queue[m_written].header;
    const DWORD usable = header->dwBufferLength / m_blockAlign * m_blockAlign;
    const std::span<const char> rest(header->lpData + m_offset, usable - m_offset);
    lock.unlock();
    const PlaybackWrite wrote = m_sink->Write(rest);
    if (wrote.gone) {
        LogWaveEvent(m_sink->Name(), "the device disappeared; playback goes on silently");
        m_sinkBase = m_framesWritten;
        m_sink = std::make_unique<NullSink>(m_format);
        m_sinkPaused = false;
    }
    m_framesWritten += wrote.bytes / m_blockAlign;
    lock.lock();
    m_offset += static_cast<DWORD>(wrote.bytes);
    if (m_offset == usable) {
        m_queue[m_written].endFrame = m_framesWritten;
        ++m_written;
        m_offset = 0;
    }
}

void WaveOutDevice::CompletePlayed(std::unique_lock<std::mutex>& lock) {
    lock.unlock();
    const std::uint64_t played = m_sinkBase + m_sink->FramesPlayed();
    lock.lock();
    while (m_written > 0 && m_queue.front().endFrame <= played) {
        WAVEHDR* header = m_queue.front().header;
        m_queue.pop_front();
        --m_written;
        MarkDone(header);
        lock.unlock();
        NotifyProgram(MM_WOM_DONE, header);
        lock.lock();
    }
}

void WaveOutDevice::ReturnAll() {
    std::deque<Queued> returned;
    {
        const std::lock_guard lock(m_mutex);
        returned.swap(m_queue);
        m_written = 0;
        m_offset = 0;
        for (const Queued& queued : returned) {
            MarkDone(queued.header);
        }
    }
    for (const Queued& queued : returned) {
        NotifyProgram(MM_WOM_DONE, queued.header);
    }
}

} // namespace platform::wave
