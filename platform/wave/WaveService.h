#pragma once
// What wave-input and wave-output devices share: the service thread that owns
// the backend and calls the program back, header preparation, and the reset
// and close hand-shakes with that thread.
//
// Reset and close are requests to the service thread: the calling thread waits
// until the thread has returned every buffer (reset) or ended (close), so
// every callback of a device runs on its service thread and none comes after
// close. From inside a callback they fail with MMSYSERR_HANDLEBUSY, as waiting
// there for the own thread could never end.

#include "platform/wave/WaveTypes.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace platform::wave {

class WaveService {
public:
    // Tells the program about a message (and the buffer it concerns); empty
    // when the program asked for no callback.
    using Notify = std::function<void(UINT message, WAVEHDR* header)>;

    WaveService(WORD blockAlign, Notify notify);
    virtual ~WaveService() = default;
    WaveService(const WaveService&) = delete;
    WaveService& operator=(const WaveService&) = delete;

    MMRESULT PrepareHeader(WAVEHDR* header, UINT headerSize);
    MMRESULT UnprepareHeader(WAVEHDR* header, UINT headerSize);
    MMRESULT Reset();
    // WAVERR_STILLPLAYING while buffers are queued (reset first).
    MMRESULT Close();

protected:
    // Starts the thread; the last step of a subclass constructor.
    void StartService();
    // Ends the thread if close did not; the first step of a subclass destructor.
    void StopService();

    // The thread's body: runs until m_closing, answering reset requests.
    virtual void ServiceLoop() = 0;
    // Under m_mutex.
    [[nodiscard]] virtual bool HasQueuedHeaders() const = 0;
    virtual void OnResetRequested() = 0;

    // Under m_mutex: checks a header the program queues and marks it queued.
    MMRESULT QueueHeader(WAVEHDR* header, UINT headerSize) const;
    // Under m_mutex: the buffer leaves the queue, finished.
    static void MarkDone(WAVEHDR* header);
    // On the service thread, without m_mutex held.
    void NotifyProgram(UINT message, WAVEHDR* header) const;
    [[nodiscard]] bool ResetPending() const { return m_resetsDone != m_resetRequests; }
    void FinishReset();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_closing = false;
    const WORD m_blockAlign;

private:
    [[nodiscard]] bool OnServiceThread() const;
    MMRESULT SetPrepared(WAVEHDR* header, UINT headerSize, bool prepared);

    const Notify m_notify;
    std::mutex m_controlMutex; // one reset or close at a time
    bool m_closed = false;     // under m_controlMutex
    std::uint64_t m_resetRequests = 0;
    std::uint64_t m_resetsDone = 0;
    std::thread m_thread;
    // Set before the device is shared and never changed: read without a lock
    // while another thread may be joining m_thread.
    std::thread::id m_serviceThreadId;
};

// The callback function of waveInOpen / waveOutOpen as a Notify.
template <class Handle, class Proc>
WaveService::Notify CallbackNotify(Handle handle, Proc callback, DWORD_PTR instance) {
    if (callback == nullptr) {
        return {};
    }
    return [handle, callback, instance](UINT message, WAVEHDR* header) {
        callback(handle, message, instance, reinterpret_cast<DWORD_PTR>(header), 0);
    };
}

} // namespace platform::wave
