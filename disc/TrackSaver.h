#pragma once
// Saving the checked tracks of a disc into files, one file per track, as WAV
// or MP3, on a worker thread of its own.
//
// The owner (the window's Save button, or the command line) asks the format
// (AskSaveFormat) and the folder, then calls Start. A timer of the owner
// calls Tick every 100 ms: it tells whether the save has ended and, while it
// runs, the encoder's progress and the file being written. Cancel (after
// ConfirmSaveCancel) stops the encoder; the worker finishes the call it is
// in and saves no further track.
//
// Files are named after the track's CD-Text title made safe (SafeFileName.h:
// no path separators or control characters, so every file stays inside the
// chosen folder), or "Track" + number when the row shows the list's stand-in
// title ("Track N") or nothing of the title is left, with "-a" added while a
// file (or a link) of that name exists. A folder in which no file can be
// created shows message 27 (from the worker thread, through the message box
// host) and ends the save.
//
// A track the encoder does not finish leaves no file behind: a cancelled
// track's file is deleted, and so is the file of a track that could not be
// written (a full disk), which also ends the save. When the save ends, one
// message (OK only, never waited for) names every track that failed or has
// sectors that stayed unreadable after the reader's retries, with their
// count; Outcomes tells the same to the command line. Every saved track's
// CRC32 and AccurateRip checksums go into the folder's log; with SetVerify
// each track is read a second time and compared.
//
// Threads: Start, Tick, Cancel and the destructor on the owner's thread; the
// worker reads a copy of the rows taken at Start, so the list control is
// never touched off the owner's thread.

#include "components/quarnel/device/CDevCmdROM.h"
#include "components/vesplin/CAuEncode.h"
#include "disc/ITrackRows.h"
#include "disc/SaveReport.h"
#include "disc/TrackAddressTable.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace disc {

enum class SaveFormat { Wav, Mp3 };

// The log beside the saved files: one line per saved track with its checksums
// (SaveReport.h), appended by every save.
inline constexpr const char* kLogFileName = "sondrel-save.log";

// Message 26 with Yes (MP3), No (WAV) and Cancel (nothing).
[[nodiscard]] std::optional<SaveFormat> AskSaveFormat();
// Message 29 with Yes and No: true when the user confirms the cancel.
[[nodiscard]] bool ConfirmSaveCancel();

struct SaveProgress {
    bool finished = false;
    int percent = 0;         // of the file being written
    std::string currentPath; // the file being written
};

class TrackSaver {
public:
    explicit TrackSaver(CAuEncode& encoder);
    ~TrackSaver();
    TrackSaver(const TrackSaver&) = delete;
    TrackSaver& operator=(const TrackSaver&) = delete;

    // Starts saving the checked rows of `rows` (tracks by their numbers in
    // `addresses`) from `device` into `folder`, which gets a trailing '/'
    // when it lacks one. False while a save is still running.
    bool Start(quarnel::CDevCmdROM* device, const ITrackRows& rows,
               const TrackAddressTable& addresses, std::string folder, SaveFormat format);
    // The timer's poll.
    [[nodiscard]] SaveProgress Tick() const;
    // Ends the save after the track being written.
    void Cancel();
    // Waits for the worker to end.
    void Wait();
    // Whether the next saves read each track a second time and compare.
    void SetVerify(bool verify) { m_verify = verify; }
    // The tracks of the last save that the encoder wrote completely.
    [[nodiscard]] int TracksSaved() const { return m_tracksSaved.load(std::memory_order_relaxed); }
    // What became of each track the last save began, in order.
    [[nodiscard]] std::vector<TrackSaveOutcome> Outcomes() const;

private:
    struct Job {
        std::string number;
        std::string title;
        std::uint32_t start = 0;
        std::uint32_t end = 0;
        bool aboveLimit = false;  // a track number over 99 ends the save here
        bool firstOfDisc = false; // for AccurateRip, which leaves out the disc's ends
        bool lastOfDisc = false;
    };

    void Run(quarnel::CDevCmdROM* device, const std::vector<Job>& jobs, const std::string& folder,
             SaveFormat format);
    void SetCurrentPath(const std::string& path);
    // Encodes one track into `path` and records its outcome; false when the
    // disk refused the file and the save must end.
    // Reads the track again and tells whether its audio is the same.
    TrackSaveOutcome::Verify ReadAgain(quarnel::CDevCmdROM* device, const Job& job,
                                       std::uint32_t firstCrc32) const;
    // Appends the saved tracks' lines to the save's log in `folder`.
    void WriteLog(const std::string& folder) const;
    bool SaveTrack(quarnel::CDevCmdROM* device, const Job& job, const std::string& path);

    CAuEncode& m_encoder;
    bool m_verify = false; // set between saves only
    std::thread m_worker;
    // Set by the worker when it ends and by a cancel; release/acquire so that
    // Tick sees the last path the worker published before it.
    std::atomic<bool> m_stop{true};
    std::atomic<int> m_tracksSaved{0}; // a count on its own: relaxed
    mutable std::mutex m_pathMutex;
    std::string m_currentPath;                // guarded by m_pathMutex
    std::vector<TrackSaveOutcome> m_outcomes; // guarded by m_pathMutex
};

} // namespace disc
