#pragma once
// The encoder component: turns the PCM of a take (44,100 Hz, 16-bit stereo,
// little-endian) into an MP3 file while the take is recorded, and saves the
// tracks of an audio CD as WAV or MP3 files.
//
// Live stream. Encode_DataStreamEx runs on the MP3 thread. It takes the PCM
// from the feed queue only through GetData and IsFinished, in chunks of the
// size it is given, encodes each chunk and appends the frames to the file at
// once, so the file on disk is a playable MP3 at every moment and a killed
// program leaves everything encoded so far. When the queue has ended and is
// drained, it writes the last frames, puts the summary frame (duration,
// encoder delay and padding) over the placeholder it began with, closes the
// file and returns.
//
// It never stops draining early. If the encoder ends early (the file cannot
// be created, the disk is full, a write fails), the rest of the queue is taken
// and discarded until IsFinished, and only then does the call return. So the
// recording session's wait at Stop (end the queue, poll IsFinished) always
// ends, the queue does not grow while the take goes on, and the file keeps
// what was written before the failure, cut back to the last whole append.
// Encode_GetError tells afterwards why a run failed. A call with no queue
// returns false at once: there is nothing to drain.
//
// Saving a track. Encode reads the sectors of a track from a drive
// (TrackReader.h: chunks, a sector-by-sector retry, unreadable sectors as
// counted silence) on a reader thread that runs ahead of the encoding
// (TrackReadAhead.h), and writes them to a WAV file when the path ends in
// ".wav" (any letter case) and to an MP3 file otherwise. GetEncodeProgress
// follows it from 0 to 100; EncodeStop ends it after the chunk being read,
// leaving a valid, shorter file. A stop that comes before Encode has begun
// is not kept: the caller's own stop flag covers that moment.
//
// Settings are read from the "Mp3" section of SoftSet.ini in the program
// folder at the start of every run (see Mp3Settings.h); the ID3v2 tags come
// from SetTags.
//
// Threads: one run (Encode_DataStreamEx or Encode) at a time per object, on
// a worker thread; a second run started meanwhile returns false at once and
// leaves the read-outs to the running one (a second stream still drains its
// queue first). The read-outs and EncodeStop may be called from any thread;
// SetTags between runs only.

#include "components/quarnel/device/CDevCmdROM.h"
#include "components/vesplin/EncodeError.h"
#include "components/vesplin/IEncodeOutput.h"
#include "components/vesplin/Mp3FrameEncoder.h"
#include "components/vesplin/PcmFileWriter.h"
#include "components/vesplin/TrackChecksums.h"
#include "engine/CDataList.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

class CAuEncode {
public:
    using EncodeError = vesplin::EncodeError;

    // Reads its settings from SoftSet.ini in the program folder and writes
    // files on disk.
    CAuEncode();
    // Reads its settings from `settingsPath` and writes through `output`.
    CAuEncode(std::string settingsPath, std::unique_ptr<vesplin::IEncodeOutput> output);
    virtual ~CAuEncode();
    CAuEncode(const CAuEncode&) = delete;
    CAuEncode& operator=(const CAuEncode&) = delete;

    // Encodes the stream of `queue`, taken in chunks of `chunkBytes`, into the
    // MP3 file at `path`; returns when the queue IsFinished. True when the
    // whole stream is in the file. A chunk may end inside a sample: the bytes
    // of the incomplete sample wait for the next chunk, and the odd bytes at
    // the very end of a stream that is not whole samples are left out.
    bool Encode_DataStreamEx(CDataList* queue, int chunkBytes, const std::string& path);

    // The bytes written to the MP3 file of the current (or last) run so far,
    // up to 4 GiB - 1.
    std::uint32_t Encode_GetCurrMp3FileLen() const;

    // Saves the audio sectors `start` to `end` (both included) of the disc in
    // `device` to `path`; returns when done or stopped. True when every
    // sector is in the file, unreadable ones as silence; false when stopped
    // early (Encode_GetError None) or failed (Encode_GetError says why).
    bool Encode(quarnel::CDevCmdROM* device, unsigned long start, unsigned long end,
                const std::string& path);

    // How far the running (or last) Encode is, 0 to 100.
    int GetEncodeProgress() const;
    // The sectors the last Encode could not read and saved as silence.
    std::uint64_t GetUnreadableSectors() const;
    // The checksums of the audio the last Encode read (unreadable sectors as
    // the silence saved); read them after Encode has returned, on its thread.
    [[nodiscard]] const vesplin::TrackChecksums& GetTrackChecksums() const { return m_checksums; }

    // Before a run: clears the read-outs of the last run, ready for a new one.
    // During Encode: ends it after the current chunk. During a stream it
    // changes nothing: the stream still takes the rest of its queue, because
    // the caller ends the queue next and waits for it to drain.
    void EncodeStop();

    // Why the current or last run failed; None while it goes well.
    EncodeError Encode_GetError() const;

    // The title and track number of the next files; an empty title writes no
    // ID3v2 tag.
    void SetTags(vesplin::Mp3Tags tags);

private:
    // Claims the object for a run and clears the read-outs; false when
    // another run holds it.
    bool BeginRun();
    void EndRun();
    bool Stream(CDataList& queue, std::uint32_t chunkBytes, const std::string& path);
    bool SaveTrack(quarnel::CDevCmdROM& device, std::uint32_t first, std::uint32_t last,
                   const std::string& path);
    // Publishes the writer's file length; passes `ok` on, recording the
    // writer's error when it is false.
    bool Track(const vesplin::PcmFileWriter& writer, bool ok);
    // Records `error` and returns false.
    bool Fail(EncodeError error);

    std::string m_settingsPath;
    std::unique_ptr<vesplin::IEncodeOutput> m_output;
    vesplin::Mp3Tags m_tags;
    vesplin::TrackChecksums m_checksums; // of the last Encode, written by its run
    // Read-outs for other threads: each is a value on its own, published with
    // no other data, so relaxed ordering is enough.
    std::atomic<std::uint64_t> m_mp3FileBytes{0};
    std::atomic<EncodeError> m_error{EncodeError::None};
    std::atomic<int> m_progressPercent{0};
    std::atomic<std::uint64_t> m_unreadableSectors{0};
    // Set by EncodeStop during a run, read by Encode between chunks; a flag
    // on its own, so relaxed.
    std::atomic<bool> m_stopRequested{false};
    // True while a run owns the object; the exchange that claims it is
    // acquire/release so that one run's writes to the members above are seen
    // by the next.
    std::atomic<bool> m_running{false};
};
