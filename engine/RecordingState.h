#pragma once
// The recording state shared by the main window's thread (which opens capture,
// starts and stops takes), the wave-input callback and the sink threads.
//
// The session prepares a take's sink (g_toFile, g_fileType, g_outputPath, the
// open g_wavFile, the queues) first and clears g_notRecording last, with
// release ordering; the callback loads g_notRecording with acquire ordering and
// reads the sink fields only after it saw false, so it sees them complete. To
// end a take the session sets g_notRecording before it tears anything down and
// leaves the callback time to notice.

#include "engine/BufManaEx.h"
#include "engine/CDataList.h"
#include "engine/PreRecordRing.h"
#include "engine/WavAppendFile.h"
#include "platform/wave/WaveTypes.h"
#include "util/CdAudioSizes.h"

#include <atomic>
#include <cstdint>
#include <string>

// Output file kinds of g_fileType.
inline constexpr std::int32_t kFileTypeNone = 0;
inline constexpr std::int32_t kFileTypeMp3 = 1;
inline constexpr std::int32_t kFileTypeWav = 2;

// 44,100 frames of 4 bytes: one second of sound.
inline constexpr std::uint32_t kPcmBytesPerSecond = 176400;
// The longest pre-record a take can begin with.
inline constexpr std::uint32_t kMaxPreRecordSeconds = 10;
// g_takeLimitBytes when a take has no limit.
inline constexpr std::uint64_t kNoTakeLimit = ~std::uint64_t{0};
// g_takeStartByte when the take begins with the first buffer after Record.
inline constexpr std::uint64_t kNoTakeStartByte = ~std::uint64_t{0};

// The open capture device; null when capture is not open. Written and read by
// the main window's thread only (the callback is handed its handle).
extern HWAVEIN g_hWaveIn;
// True while no take runs; the sinks are fed only while it is false.
extern std::atomic<bool> g_notRecording;
// True while capture is closed or closing; the callback then stops queuing its
// buffer again.
extern std::atomic<bool> g_captureClosing;
// The take goes to a file (true) or to the CD (false).
extern std::atomic<bool> g_toFile;
extern std::atomic<std::int32_t> g_fileType;
// Full path of the take's output file. Written by the session while
// g_notRecording is true; the callback does not read it, it appends through
// g_wavFile, which the session opens on this path.
extern std::string g_outputPath;
// A WAV take whose sound the callback queues in g_mp3Queue for a writer
// thread instead of appending it to g_wavFile (a take split on silence).
extern std::atomic<bool> g_wavQueued;
// The WAV file of a take, open for appending while the take runs.
extern WavAppendFile g_wavFile;
// PCM bytes appended to the WAV file in this take (counted even when the
// append failed).
extern std::atomic<std::uint32_t> g_wavBytesWritten;
// The sound of a take, handed over by the callback. The session sets the limit
// and the pre-record and zeroes the count before it clears g_notRecording
// (release); the callback reads them after its acquire load. The count is
// written by the callback only and published with release ordering.
//   g_takeBytesCaptured  bytes captured after Record given to the sink
//   g_takeLimitBytes     the sink gets no more than this (kNoTakeLimit: no limit)
//   g_preRecordBytes     sound captured before Record to give the sink first;
//                        the callback takes it (sets it to 0) at the take's start
//   g_takeStartByte      the capture stream position a take begins at that
//                        starts at a moment just past (kNoTakeStartByte:
//                        none); the callback hands the sink the sound from
//                        there (after the pre-record), counts it as captured
//                        in the take, and takes it
extern std::atomic<std::uint64_t> g_takeBytesCaptured;
extern std::atomic<std::uint64_t> g_takeLimitBytes;
extern std::atomic<std::uint32_t> g_preRecordBytes;
extern std::atomic<std::uint64_t> g_takeStartByte;
// The last seconds captured, kept for a take's pre-record. Written and read by
// the capture callback only (cleared by OpenCapture before capture starts).
extern PreRecordRing g_preRecordRing;
// Read by the waveform display.
extern BufManaEx g_waveRing;
// Feed queues of the MP3 encoder and of the CD writer.
extern CDataList g_mp3Queue;
extern CDataList g_cdQueue;
