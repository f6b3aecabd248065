#pragma once
// Playing tracks of the audio CD in the current drive through the wave
// output: the play bar's logic without its buttons.
//
// A reader thread reads raw sectors one at a time into a ring of five
// 2-second blocks (BufMana); the wave output plays one block at a time and,
// each time it hands a block back, the next filled block is queued from the
// output's completion callback. The owner's half-second timer calls Tick for
// the slider. The last block of a track (its final 1 to 150 sectors) is read
// but not played: the play position runs one block ahead of what is queued.
// Playback ends when the output hands back the block queued last.
//
// Threads: Play, Stop, Pause, Resume, Seek and Tick on the owner's thread;
// the reader on its own; the completion callback on the wave service thread.
// They share the addresses and flags below, all atomic.

#include "components/quarnel/device/CDevCmdROM.h"
#include "disc/ITrackRows.h"
#include "engine/BufMana.h"
#include "platform/wave/WaveTypes.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

namespace disc {

enum class PlayMode { Selected = 1, Previous = 2, Next = 3 };

class TrackPlayer {
public:
    using Sleep = std::function<void(int milliseconds)>;
    // Opens wave output `deviceId` with the format and the completion
    // callback; waveOutOpen unless a test hands in its own output.
    using OpenOutput =
        std::function<MMRESULT(HWAVEOUT* handle, UINT deviceId, const WAVEFORMATEX* format,
                               DWORD_PTR callback, DWORD_PTR instance)>;

    static constexpr std::uint32_t kBlockSectors = 150;
    static constexpr std::uint32_t kBlockBytes = kBlockSectors * 2352;

    explicit TrackPlayer(Sleep sleep = {}, OpenOutput openOutput = {});
    ~TrackPlayer();
    TrackPlayer(const TrackPlayer&) = delete;
    TrackPlayer& operator=(const TrackPlayer&) = delete;

    // The drive to read from and the list to take tracks from (both may be null).
    void SetDevice(quarnel::CDevCmdROM* device, ITrackRows* rows);

    // Plays the selected row, the one above it or the one below it (the last
    // row stays the last); true when playback started. Stops a running one first.
    bool Play(PlayMode mode);
    void Stop();
    // The buttons: "Pause", "Play" (resumes when paused, else plays the
    // selected row), "Pre" and "Next".
    void Pause();
    bool PlayButton();
    bool Previous();
    bool Next();
    // The slider was let go at `percent` (0..100): reading goes on from there.
    void Seek(int percent);

    // Timer 1: the slider's position while playing; nullopt once playback has
    // ended (the owner then stops its timer).
    std::optional<int> Tick();

    [[nodiscard]] bool IsPaused() const { return m_paused.load(std::memory_order_acquire); }

private:
    static void WaveOutDone(HWAVEOUT handle, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                            DWORD_PTR param2);
    bool OpenOutputDevice();
    void QueueNext();
    void ReadSectors();
    // Closes the wave output once, whoever comes first.
    void CloseOutput();
    // Waits for the reader of the last playback to end.
    void JoinReader();

    Sleep m_sleep;
    OpenOutput m_openOutput;
    quarnel::CDevCmdROM* m_device = nullptr;
    ITrackRows* m_rows = nullptr;

    // Addresses: set on the owner's thread while no reader runs, then read by
    // the reader and the callback; m_current is the reader's, m_playPos the
    // callback's (and the owner's at open). Relaxed: each is a value on its
    // own; the ring carries the audio with its own ordering.
    std::atomic<std::uint32_t> m_start{0};
    std::atomic<std::uint32_t> m_end{0};
    std::atomic<std::uint32_t> m_current{0};
    std::atomic<std::uint32_t> m_playPos{0};
    std::atomic<bool> m_paused{false};
    std::atomic<bool> m_stopped{true};
    std::atomic<bool> m_readerDone{true}; // release after the reader's last slot

    BufMana m_ring;
    std::vector<char> m_playBuffer = std::vector<char>(kBlockBytes, 0);
    WAVEHDR m_header;
    std::atomic<HWAVEOUT> m_output{nullptr};
    std::thread m_reader;
};

} // namespace disc
