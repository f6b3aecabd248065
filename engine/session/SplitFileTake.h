#pragma once
// A file take split on silence. The capture callback queues the take's sound
// (g_mp3Queue, for WAV takes too) and the thread of this class writes it into
// the take's files, starting the next file where the silence splitter ends a
// track: the file the user named first, then the same name with "-02",
// "-03", ... before the extension (take.wav, take-02.wav, take-03.wav). Each
// file is complete when the next one begins: a WAV file gets its sizes (and
// is kept as the running take until then, for a repair after a kill), an MP3
// file its summary frame.
//
// Threads: Start and Finish on the thread that starts and stops the take;
// the read-outs from any thread. After a failed write the thread keeps
// draining the queue (so Finish always ends) and writes nothing more.

#include "engine/session/SplitSettings.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace engine {

// The name of file `part` (from 1) of a split take of `path`.
[[nodiscard]] std::string SplitPartPath(const std::string& path, unsigned part);

class SplitFileTake {
public:
    SplitFileTake() = default;
    ~SplitFileTake();
    SplitFileTake(const SplitFileTake&) = delete;
    SplitFileTake& operator=(const SplitFileTake&) = delete;

    // Opens the queue and starts writing `path` (an MP3 file when `mp3`,
    // else WAV).
    void Start(const std::string& path, bool mp3, const SplitSettings& settings);
    // Ends the queue, waits until the thread has written the rest and
    // finished the last file; at once when no thread runs.
    void Finish();

    // The file being written, from 1.
    [[nodiscard]] unsigned Part() const { return m_part.load(std::memory_order_relaxed); }
    // Bytes in the file being written.
    [[nodiscard]] std::uint64_t FileBytes() const {
        return m_fileBytes.load(std::memory_order_relaxed);
    }
    [[nodiscard]] bool Failed() const { return m_failed.load(std::memory_order_relaxed); }

private:
    void Run(const std::string& path, bool mp3, const SplitSettings& settings);

    std::thread m_thread;
    // Read-outs, each a value on its own: relaxed.
    std::atomic<unsigned> m_part{0};
    std::atomic<std::uint64_t> m_fileBytes{0};
    std::atomic<bool> m_failed{false};
};

} // namespace engine
