#pragma once
// The WAV file of a take as the capture callback sees it: opened for appending
// by the session before the take starts, so that the callback only writes (one
// write(2) per buffer, no open or close, no allocation). Appends go to the end
// of the file whatever else wrote to it, as with a file opened in append mode
// for each buffer. A file that could not be opened (its folder is missing, no
// permission) swallows the appends: the take's PCM is lost without a report.

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
    // when it is missing. False when it cannot be opened.
    bool Open(const std::string& path);
    // Callback. Writes all `length` bytes at the end of the file, or as many
    // as the disk takes; nothing is reported.
    void Append(const std::uint8_t* data, std::size_t length);
    // Main thread, once the callback no longer appends.
    void Close();
    bool IsOpen() const;

private:
    // -1 while closed. Published to the callback by the release store of
    // g_notRecording that starts a take, so relaxed loads suffice here.
    std::atomic<int> m_fd{-1};
};
