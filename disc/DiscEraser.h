#pragma once
// Erasing the rewritable disc in the current drive: blanking a CD-RW or
// DVD-RW, formatting a DVD+RW and then overwriting its start with zeros, or
// overwriting the start of a DVD-RAM with zeros; the overwritten discs end
// with a cache flush.
//
// The owner calls Begin on its thread when the user presses Erase: it checks
// the drive and the disc, asks for confirmation and starts the work; refusals
// show one message each (from the "Message" section, information icon). When
// Begin returns true the owner opens its progress window and calls Tick once
// a second with the bar's position; Tick gives the next position and says
// when the drive is done, after which the tray is open.
//
// Zero-writing runs on a worker thread of its own that shares only the
// counter with the owner. The waits for the drive (formatting on the owner's
// thread, cache flush and session close on the worker) go through a sleep
// function, the real one unless a test hands in its clock.

#include "components/quarnel/device/CDevCmdRW.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace disc {

struct EraseTick {
    int position = 0;      // the bar, 0..100
    bool finished = false; // the drive is done: close the progress window
    bool erased = false;   // when finished: every command of the erase succeeded
};

class DiscEraser {
public:
    using Sleep = std::function<void(int milliseconds)>;

    // The counter's values that the bar reads.
    static constexpr std::int32_t kWritingEnded = 1632;
    static constexpr std::int32_t kWorkerDone = 1633;

    explicit DiscEraser(Sleep sleep = {});
    ~DiscEraser();
    DiscEraser(const DiscEraser&) = delete;
    DiscEraser& operator=(const DiscEraser&) = delete;

    // Holds the drive, checks, asks and starts erasing; true when the
    // progress window is to be shown. A null device does nothing; a drive
    // another program holds is refused with message 31.
    bool Begin(quarnel::CDevCmdROM* device);
    // Timer 3, once a second with the bar's position. An erase that failed
    // shows message 5 with the command and what the drive answered.
    EraseTick Tick(int position);

    // Sectors the zero-writing worker has written (see the constants above).
    [[nodiscard]] std::int32_t ZeroWriteCount() const {
        return m_counter.load(std::memory_order_acquire);
    }

private:
    // Begin on the drive held for the erase.
    bool BeginHeld(quarnel::CDevCmdROM* device);
    // Polls TEST UNIT READY every `periodMs` while the drive reports that it
    // is still at work (2/04/xx); the last status.
    std::uint32_t WaitUntilReady(int periodMs);
    // One write of zeros, sent again while the drive's buffer is full.
    std::uint32_t WriteZeros(long address, std::vector<unsigned char>& zeros);
    // Starts the worker after formatting or the DVD-RAM write parameters.
    bool StartMedium();
    void ZeroWrite();
    EraseTick Finish();

    Sleep m_sleep;
    quarnel::CDevCmdRW* m_writer = nullptr;
    bool m_zeroWrite = false;
    std::thread m_worker;
    // Written by the worker, read by the timer; release/acquire so that
    // kWorkerDone is seen only after the session close has returned.
    std::atomic<std::int32_t> m_counter{0};
    // What failed, empty while all went well: written by the worker before
    // it stores kWorkerDone, or by the owner while blanking.
    std::string m_failure;
};

} // namespace disc
