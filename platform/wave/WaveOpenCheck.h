#pragma once
// The argument checks waveInOpen and waveOutOpen share.

#include "platform/wave/WaveTypes.h"

// Handle pointer and format present, callback kind CALLBACK_NULL or
// CALLBACK_FUNCTION (with a function), and a usable PCM format.
[[nodiscard]] MMRESULT checkWaveOpen(const void* handleOut, const WAVEFORMATEX* format,
                                     DWORD_PTR callback, DWORD flags);

// The device numbers that name the configured device: WAVE_MAPPER and 0.
[[nodiscard]] bool isConfiguredDeviceId(UINT_PTR deviceId);
