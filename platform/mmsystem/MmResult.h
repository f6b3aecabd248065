#pragma once
// Result codes and the few identifiers shared by the wave and mixer services,
// with the names and values of the Windows multimedia interface the program is
// written against.

#include <cstdint>

using MMRESULT = std::uint32_t;

inline constexpr MMRESULT MMSYSERR_NOERROR = 0;
inline constexpr MMRESULT MMSYSERR_ERROR = 1;
inline constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
inline constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
inline constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
inline constexpr MMRESULT MMSYSERR_NODRIVER = 6;
inline constexpr MMRESULT MMSYSERR_NOMEM = 7;
inline constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
inline constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
inline constexpr MMRESULT MMSYSERR_HANDLEBUSY = 12;

// The system's default wave device.
inline constexpr std::uint32_t WAVE_MAPPER = 0xFFFFFFFFu;

// How an open device reports back.
inline constexpr std::uint32_t CALLBACK_TYPEMASK = 0x00070000u;
inline constexpr std::uint32_t CALLBACK_NULL = 0x00000000u;
inline constexpr std::uint32_t CALLBACK_FUNCTION = 0x00030000u;

inline constexpr int MAXPNAMELEN = 32;
