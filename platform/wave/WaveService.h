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

class WaveService {
public:
    // Tells the program about a message (and the buffer it concerns); empty
    // when the program asked for no callback.
    using Notify = std::function<void(UINT message, WAVEHDR* header)>;

    WaveService(WORD blockAlign, Notify notify);
    virtual ~WaveService() = default;
    WaveService(const WaveService&) = delete;
    WaveService& operator=(const WaveService&) = delete;

    MMRESULT prepareHeader(WAVEHDR* header, UINT headerSize);
    MMRESULT unprepareHeader(WAVEHDR* header, UINT headerSize);
    MMRESULT reset();
    // WAVERR_STILLPLAYING while buffers are queued (reset first).
    MMRESULT close();

protected:
    // Starts the thread; the last step of a subclass constructor.
    void startService();
    // Ends the thread if close did not; the first step of a subclass destructor.
    void stopService();

    // The thread's body: runs until m_closing, answering reset requests.
    virtual void serviceLoop() = 0;
    // Under m_mutex.
    [[nodiscard]] virtual bool hasQueuedHeaders() const = 0;
    virtual void onResetRequested() = 0;

    // Under m_mutex: checks a header the program queues and marks it queued.
    MMRESULT queueHeader(WAVEHDR* header, UINT headerSize) const;
    // Under m_mutex: the buffer leaves the queue, finished.
    static void markDone(WAVEHDR* header);
    // On the service thread, without m_mutex held.
    void notify(UINT message, WAVEHDR* header) const;
    [[nodiscard]] bool resetPending() const { return m_resetsDone != m_resetRequests; }
    void finishReset();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_closing = false;
    const WORD m_blockAlign;

private:
    [[nodiscard]] bool onServiceThread() const;
    MMRESULT setPrepared(WAVEHDR* header, UINT headerSize, bool prepared);

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
WaveService::Notify callbackNotify(Handle handle, Proc callback, DWORD_PTR instance) {
    if (callback == nullptr) {
        return {};
    }
    return [handle, callback, instance](UINT message, WAVEHDR* header) {
        callback(handle, message, instance, reinterpret_cast<DWORD_PTR>(header), 0);
    };
}
