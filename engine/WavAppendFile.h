#pragma once
// The WAV file of a take as the capture callback sees it: opened for appending
// by the session before the take starts, so that the callback only writes (one
// write(2) per buffer, no open or close, no allocation). Appends go to the end
// of the file whatever else wrote to it, as with a file opened in append mode
// for each buffer. A write that fails (a full disk, an I/O error) is recorded
// in an atomic, and the appends after it are dropped, so the file holds the
// sound up to the failure without a hole; the session reads the failure and
// ends the take.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

class WavAppendFile {
public:
    WavAppendFile() = default;
    ~WavAppendFile();
    WavAppendFile(const WavAppendFile&) = delete;
    WavAppendFile& operator=(const WavAppendFile&) = delete;

    // Main thread, while the callback does not use the file. Creates the file
    // when it is missing and clears the recorded failure. False when it
    // cannot be opened.
    bool Open(const std::string& path);
    // Callback. Writes all `length` bytes at the end of the file, or as many
    // as the disk takes and then records the failure; does nothing once a
    // failure is recorded or while the file is closed.
    void Append(const std::uint8_t* data, std::size_t length);
    // Main thread, once the callback no longer appends.
    void Close();
    bool IsOpen() const;
    // Any thread: the errno of the first failed write since Open, else 0.
    [[nodiscard]] int WriteError() const;

private:
    // -1 while closed. Published to the callback by the release store of
    // g_notRecording that starts a take, so relaxed loads suffice here.
    std::atomic<int> m_fd{-1};
    // Stored by the callback, read by the session's timer: a value on its
    // own, which orders nothing else, so relaxed.
    std::atomic<int> m_writeError{0};
    static_assert(std::atomic<int>::is_always_lock_free);
};
