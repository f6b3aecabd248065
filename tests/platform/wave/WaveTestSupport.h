#pragma once
// Helpers of the wave service tests: a capture client that behaves like the
// program's capture callback, a playback client, the counting test signal and
// WAV files on disk.

#include "platform/wave/WaveIn.h"
#include "platform/wave/WaveOut.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempFolder.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace wavetest {

// Generous bound for waiting on the service threads: reaching it means a hang.
inline constexpr auto kHangLimit = std::chrono::seconds(60);

// The counting signal: frame n holds n & 0xFFFF on the left and that value
// XOR 0x5A5A on the right, so any gap, repeat or swap shows.
[[nodiscard]] std::vector<char> rampFrames(std::uint32_t firstFrame, std::uint32_t frames);

// The frame index encoded at a byte offset, or -1 when the frame does not hold
// the signal.
[[nodiscard]] long rampValueAt(const std::vector<char>& pcm, std::size_t frame);

struct RampRun {
    std::size_t start = 0;  // frame index in the captured PCM
    std::size_t frames = 0; // length of the run
    long firstValue = -1;   // signal value of its first frame
};
// The stretches of at least minFrames in which every frame holds the signal and each follows
// the one before, in order.
[[nodiscard]] std::vector<RampRun> rampRuns(const std::vector<char>& pcm, std::size_t minFrames);

void writeWavFile(const std::filesystem::path& path, const WAVEFORMATEX& format,
                  const std::vector<char>& pcm);
[[nodiscard]] std::vector<char> readFile(const std::filesystem::path& path);

// A wave-input client with one buffer that it queues again from inside the
// callback (zero, unprepare, prepare, add), as the program does, until told
// to stop.
class CaptureClient {
public:
    explicit CaptureClient(DWORD bufferBytes = 37632);
    ~CaptureClient();
    CaptureClient(const CaptureClient&) = delete;
    CaptureClient& operator=(const CaptureClient&) = delete;

    MMRESULT open(const WAVEFORMATEX& format);
    MMRESULT openSource(std::unique_ptr<platform::wave::CaptureSource> source);
    // Prepares and queues the buffer, then starts.
    MMRESULT queueAndStart();
    // Stops queuing again: what the program's closing flag does.
    void stopRequeue();
    // Keeps the buffer after each callback instead of queuing it; requeue()
    // then queues it from the calling thread.
    void holdBuffers();
    MMRESULT requeue();
    // Resets and closes, as the program's close does.
    void resetAndClose();

    // Waits until that many buffers have come back; false on a hang.
    bool waitForBuffers(std::size_t count);
    // Something the callback should try once, with the result kept.
    void onFirstBuffer(std::function<MMRESULT(HWAVEIN)> action);

    [[nodiscard]] HWAVEIN handle() const { return m_handle; }
    [[nodiscard]] std::vector<char> captured() const;
    [[nodiscard]] MMRESULT firstBufferResult() const;
    [[nodiscard]] WaveInStats stats() const;

private:
    static void proc(HWAVEIN handle, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                     DWORD_PTR param2);
    void onMessage(HWAVEIN handle, UINT message, WAVEHDR* header);

    std::vector<char> m_buffer;
    WAVEHDR m_header;
    HWAVEIN m_handle = nullptr;
    bool m_open = false;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<char> m_captured;
    std::vector<DWORD> m_bufferSizes;
    bool m_requeue = true;
    bool m_held = false;
    std::function<MMRESULT(HWAVEIN)> m_firstAction;
    MMRESULT m_firstResult = MMSYSERR_NOERROR;
};

// A wave-output client: counts and orders the returned buffers and can feed
// the next block from inside the callback.
class PlaybackClient {
public:
    PlaybackClient() = default;
    ~PlaybackClient();
    PlaybackClient(const PlaybackClient&) = delete;
    PlaybackClient& operator=(const PlaybackClient&) = delete;

    MMRESULT open(const WAVEFORMATEX& format);
    MMRESULT openSink(std::unique_ptr<platform::wave::PlaybackSink> sink,
                      const WAVEFORMATEX& format);
    // Splits the PCM into blocks of blockBytes and writes them all.
    MMRESULT playAll(const std::vector<char>& pcm, std::size_t blockBytes);
    // Writes the first block; each returned block makes the callback write the next.
    MMRESULT playChained(const std::vector<char>& pcm, std::size_t blockBytes);
    bool waitForDone(std::size_t count);
    [[nodiscard]] HWAVEOUT handle() const { return m_handle; }
    [[nodiscard]] std::vector<std::size_t> doneOrder() const;
    [[nodiscard]] std::size_t blockCount() const { return m_blocks.size(); }
    void resetAndClose();

private:
    static void proc(HWAVEOUT handle, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                     DWORD_PTR param2);
    void onMessage(HWAVEOUT handle, UINT message, WAVEHDR* header);
    void makeBlocks(const std::vector<char>& pcm, std::size_t blockBytes);
    MMRESULT writeBlock(std::size_t index);

    std::vector<std::vector<char>> m_blocks;
    std::vector<WAVEHDR> m_headers;
    HWAVEOUT m_handle = nullptr;
    bool m_open = false;
    std::atomic<bool> m_chained{false}; // read by the callback

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::size_t> m_doneOrder;
};

} // namespace wavetest
