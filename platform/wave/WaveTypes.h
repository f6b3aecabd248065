#pragma once
// Types, flags and result codes of the wave-input and wave-output service, with
// the names and values of the Windows multimedia interface the program is
// written against.

#include "platform/mmsystem/MmResult.h"

#include <cstdint>

using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using UINT = std::uint32_t;
using DWORD_PTR = std::uintptr_t;
using UINT_PTR = std::uintptr_t;

// Handles are opaque numbers, never addresses: a stale handle cannot reach a
// device that was opened later.
using HWAVEIN = struct HWAVEIN__*;
using HWAVEOUT = struct HWAVEOUT__*;

inline constexpr MMRESULT WAVERR_BADFORMAT = 32;
inline constexpr MMRESULT WAVERR_STILLPLAYING = 33;
inline constexpr MMRESULT WAVERR_UNPREPARED = 34;

inline constexpr WORD WAVE_FORMAT_PCM = 1;

// Messages sent to the callback function.
inline constexpr UINT MM_WOM_OPEN = 0x3BB;
inline constexpr UINT MM_WOM_CLOSE = 0x3BC;
inline constexpr UINT MM_WOM_DONE = 0x3BD;
inline constexpr UINT MM_WIM_OPEN = 0x3BE;
inline constexpr UINT MM_WIM_CLOSE = 0x3BF;
inline constexpr UINT MM_WIM_DATA = 0x3C0;

// WAVEHDR::dwFlags
inline constexpr DWORD WHDR_DONE = 0x01;
inline constexpr DWORD WHDR_PREPARED = 0x02;
inline constexpr DWORD WHDR_INQUEUE = 0x10;

// WAVEOUTCAPS::dwFormats: rate (11,025, 22,050, 44,100 Hz), mono/stereo, 8/16 bit.
inline constexpr DWORD WAVE_FORMAT_1M08 = 0x0001;
inline constexpr DWORD WAVE_FORMAT_4S16 = 0x0800;
inline constexpr DWORD kAllStandardWaveFormats = 0x0FFF;

struct WAVEFORMATEX {
    WORD wFormatTag = 0;
    WORD nChannels = 0;
    DWORD nSamplesPerSec = 0;
    DWORD nAvgBytesPerSec = 0;
    WORD nBlockAlign = 0;
    WORD wBitsPerSample = 0;
    WORD cbSize = 0;
};

struct WAVEHDR {
    char* lpData = nullptr;
    DWORD dwBufferLength = 0;
    DWORD dwBytesRecorded = 0;
    DWORD_PTR dwUser = 0;
    DWORD dwFlags = 0;
    DWORD dwLoops = 0;
    WAVEHDR* lpNext = nullptr;
    DWORD_PTR reserved = 0;
};

struct WAVEOUTCAPS {
    WORD wMid = 0;
    WORD wPid = 0;
    DWORD vDriverVersion = 0;
    char szPname[MAXPNAMELEN] = {};
    DWORD dwFormats = 0;
    WORD wChannels = 0;
    WORD wReserved1 = 0;
    DWORD dwSupport = 0;
};

// The callback function given to waveInOpen / waveOutOpen with CALLBACK_FUNCTION.
// It runs on the device's service thread.
using WaveInProc = void (*)(HWAVEIN, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                            DWORD_PTR param2);
using WaveOutProc = void (*)(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                             DWORD_PTR param2);

// What the wave-input service tells about a capture beyond the Windows
// interface (waveInGetStats).
struct WaveInStats {
    std::uint32_t overruns = 0;  // audio lost: device over-runs and a full internal ring
    bool deviceLost = false;     // the device stopped delivering and is not open again yet
    std::uint32_t gaps = 0;      // times the device stopped delivering since open
    std::uint64_t bytesRead = 0; // audio read from the device since open
};
