#include "platform/wave/WaveService.h"

namespace platform::wave {

namespace {

MMRESULT checkHeader(const WAVEHDR* header, UINT headerSize, WORD blockAlign) {
    if (header == nullptr || headerSize < sizeof(WAVEHDR) || header->lpData == nullptr ||
        header->dwBufferLength < blockAlign) {
        return MMSYSERR_INVALPARAM;
    }
    return MMSYSERR_NOERROR;
}

} // namespace

WaveService::WaveService(WORD blockAlign, Notify notify)
    : m_blockAlign(blockAlign), m_notify(std::move(notify)) {}

void WaveService::NotifyProgram(UINT message, WAVEHDR* header) const {
    if (m_notify) {
        m_notify(message, header);
    }
}

MMRESULT WaveService::PrepareHeader(WAVEHDR* header, UINT headerSize) {
    return SetPrepared(header, headerSize, true);
}

MMRESULT WaveService::UnprepareHeader(WAVEHDR* header, UINT headerSize) {
    return SetPrepared(header, headerSize, false);
}

MMRESULT WaveService::SetPrepared(WAVEHDR* header, UINT headerSize, bool prepared) {
    if (const MMRESULT bad = checkHeader(header, headerSize, m_blockAlign)) {
        return bad;
    }
    const std::lock_guard lock(m_mutex);
    if ((header->dwFlags & WHDR_INQUEUE) != 0) {
        return WAVERR_STILLPLAYING;
    }
    header->dwFlags = prepared ? header->dwFlags | WHDR_PREPARED : header->dwFlags & ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

void WaveService::MarkDone(WAVEHDR* header) {
    header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
}

MMRESULT WaveService::QueueHeader(WAVEHDR* header, UINT headerSize) const {
    if (const MMRESULT bad = checkHeader(header, headerSize, m_blockAlign)) {
        return bad;
    }
    if (m_closing) {
        return MMSYSERR_INVALHANDLE;
    }
    if ((header->dwFlags & WHDR_PREPARED) == 0) {
        return WAVERR_UNPREPARED;
    }
    if ((header->dwFlags & WHDR_INQUEUE) != 0) {
        return WAVERR_STILLPLAYING;
    }
    header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
    return MMSYSERR_NOERROR;
}

MMRESULT WaveService::Reset() {
    if (OnServiceThread()) {
        return MMSYSERR_HANDLEBUSY;
    }
    const std::lock_guard control(m_controlMutex);
    if (m_closed) {
        return MMSYSERR_INVALHANDLE;
    }
    std::unique_lock lock(m_mutex);
    OnResetRequested();
    const std::uint64_t request = ++m_resetRequests;
    m_wake.notify_all();
    m_wake.wait(lock, [&] { return m_resetsDone >= request; });
    return MMSYSERR_NOERROR;
}

void WaveService::FinishReset() {
    m_resetsDone = m_resetRequests;
    m_wake.notify_all();
}

MMRESULT WaveService::Close() {
    if (OnServiceThread()) {
        return MMSYSERR_HANDLEBUSY;
    }
    const std::lock_guard control(m_controlMutex);
    if (m_closed) {
        return MMSYSERR_INVALHANDLE;
    }
    {
        const std::lock_guard lock(m_mutex);
        if (HasQueuedHeaders()) {
            return WAVERR_STILLPLAYING;
        }
        m_closing = true;
        m_wake.notify_all();
    }
    m_thread.join();
    m_closed = true;
    return MMSYSERR_NOERROR;
}

void WaveService::StartService() {
    m_thread = std::thread([this] { ServiceLoop(); });
    m_serviceThreadId = m_thread.get_id();
}

void WaveService::StopService() {
    const std::lock_guard control(m_controlMutex);
    if (m_closed) {
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_closing = true;
        m_wake.notify_all();
    }
    m_thread.join();
    m_closed = true;
}

bool WaveService::OnServiceThread() const {
    return std::this_thread::get_id() == m_serviceThreadId;
}

} // namespace platform::wave
