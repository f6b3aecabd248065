#include "platform/wave/WaveInDevice.h"

#include "platform/wave/WaveLog.h"

#include <string>

namespace platform::wave {

namespace {

constexpr std::size_t kSliceFrames = 2048;

} // namespace

WaveInDevice::WaveInDevice(std::unique_ptr<CaptureSource> source, const WAVEFORMATEX& format,
                           Notify notify)
    : WaveService(format.nBlockAlign, std::move(notify)), m_name(source->Name()),
      m_source(std::move(source)) {
    StartService();
}

WaveInDevice::~WaveInDevice() {
    StopService();
}

MMRESULT WaveInDevice::AddBuffer(WAVEHDR* header, UINT headerSize) {
    const std::lock_guard lock(m_mutex);
    const MMRESULT queued = QueueHeader(header, headerSize);
    if (queued == MMSYSERR_NOERROR) {
        header->dwBytesRecorded = 0;
        m_queue.push_back(header);
    }
    return queued;
}

MMRESULT WaveInDevice::Start() {
    const std::lock_guard lock(m_mutex);
    if (m_closing) {
        return MMSYSERR_INVALHANDLE;
    }
    if (m_deviceLost.load(std::memory_order_relaxed)) {
        return MMSYSERR_NODRIVER;
    }
    m_started = true;
    m_wake.notify_all();
    return MMSYSERR_NOERROR;
}

WaveInStats WaveInDevice::Stats() const {
    WaveInStats stats;
    stats.overruns = m_overruns.load(std::memory_order_relaxed);
    stats.deviceLost = m_deviceLost.load(std::memory_order_relaxed);
    stats.bytesRead = m_bytesRead.load(std::memory_order_relaxed);
    return stats;
}

void WaveInDevice::ServiceLoop() {
    NotifyProgram(MM_WIM_OPEN, nullptr);
    std::vector<char> slice(kSliceFrames * m_blockAlign);
    bool running = false;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] {
            return m_closing || ResetPending() ||
                   (m_started && !m_deviceLost.load(std::memory_order_relaxed));
        });
        if (ResetPending()) {
            lock.unlock();
            if (running) {
                m_source->Stop();
                running = false;
            }
            ReturnAll();
            lock.lock();
            FinishReset();
            continue;
        }
        if (m_closing) {
            break;
        }
        lock.unlock();
        if (!running) {
            m_source->Start();
            running = true;
        }
        CaptureSlice(slice);
        lock.lock();
    }
    lock.unlock();
    // The device is released before close returns, so it can be opened again at once.
    m_source.reset();
    NotifyProgram(MM_WIM_CLOSE, nullptr);
}

void WaveInDevice::CaptureSlice(std::vector<char>& slice) {
    const CaptureRead got = m_source->Read(slice);
    if (got.status == CaptureStatus::Overrun) {
        NoteOverrun("over-run, audio lost; capture recovered");
    }
    if (got.status == CaptureStatus::Gone) {
        m_deviceLost.store(true, std::memory_order_relaxed);
        LogWaveEvent(m_name, "the device disappeared; capture ended");
        return;
    }
    if (got.bytes == 0) {
        return;
    }
    m_bytesRead.fetch_add(got.bytes, std::memory_order_relaxed);
    if (m_ring.Write(std::span<const char>(slice).first(got.bytes))) {
        m_ringOverflowing = false;
    } else if (!m_ringOverflowing) {
        m_ringOverflowing = true;
        NoteOverrun("no buffer queued and the ring is full, audio lost");
    }
    Deliver();
}

void WaveInDevice::Deliver() {
    for (;;) {
        WAVEHDR* full = nullptr;
        {
            const std::lock_guard lock(m_mutex);
            if (m_queue.empty() || m_ring.Empty()) {
                return;
            }
            WAVEHDR* header = m_queue.front();
            const DWORD usable = header->dwBufferLength / m_blockAlign * m_blockAlign;
            header->dwBytesRecorded += static_cast<DWORD>(m_ring.Read(
                {header->lpData + header->dwBytesRecorded, usable - header->dwBytesRecorded}));
            if (header->dwBytesRecorded == usable) {
                m_queue.pop_front();
                MarkDone(header);
                full = header;
            }
        }
        if (full == nullptr) {
            return;
        }
        NotifyProgram(MM_WIM_DATA, full);
    }
}

void WaveInDevice::ReturnAll() {
    Deliver();
    std::deque<WAVEHDR*> returned;
    {
        const std::lock_guard lock(m_mutex);
        returned.swap(m_queue);
        for (WAVEHDR* header : returned) {
            MarkDone(header);
        }
    }
    m_ring.Clear();
    m_ringOverflowing = false;
    for (WAVEHDR* header : returned) {
        NotifyProgram(MM_WIM_DATA, header);
    }
}

void WaveInDevice::NoteOverrun(std::string_view what) {
    const std::uint32_t count = m_overruns.fetch_add(1, std::memory_order_relaxed) + 1;
    LogWaveEvent(m_name, std::string(what) + " (" + std::to_string(count) + " so far)");
}

} // namespace platform::wave
