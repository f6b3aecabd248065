#pragma once
// Wave input: the waveIn functions the capture code uses, over ALSA or a
// virtual input (see WaveSettings.h). Every callback runs on the device's
// service thread; the callback may queue its buffer again (prepare and
// waveInAddBuffer) but not reset or close its own device.

#include "platform/wave/CaptureSource.h"
#include "platform/wave/WaveTypes.h"

#include <memory>

// 1 when the configured input has something to capture from (a virtual input,
// or an ALSA input with a capture device: see platform::wave::ListCaptureDevices), else 0.
UINT waveInGetNumDevs();
// Device WAVE_MAPPER (or 0) is the configured input. Fails with
// MMSYSERR_NODRIVER for an unusable setting, MMSYSERR_BADDEVICEID for a device
// or file that is not there, MMSYSERR_ALLOCATED for a busy device and
// WAVERR_BADFORMAT for a format the device does not take.
MMRESULT waveInOpen(HWAVEIN* handleOut, UINT deviceId, const WAVEFORMATEX* format,
                    DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
// The same over a source the caller made.
MMRESULT waveInOpenSource(HWAVEIN* handleOut, std::unique_ptr<platform::wave::CaptureSource> source,
                          const WAVEFORMATEX* format, DWORD_PTR callback, DWORD_PTR instance,
                          DWORD flags);
MMRESULT waveInPrepareHeader(HWAVEIN handle, WAVEHDR* header, UINT headerSize);
MMRESULT waveInUnprepareHeader(HWAVEIN handle, WAVEHDR* header, UINT headerSize);
MMRESULT waveInAddBuffer(HWAVEIN handle, WAVEHDR* header, UINT headerSize);
MMRESULT waveInStart(HWAVEIN handle);
// Stops, and returns every queued buffer (MM_WIM_DATA, dwBytesRecorded as far
// as it was filled) before it returns.
MMRESULT waveInReset(HWAVEIN handle);
// WAVERR_STILLPLAYING while buffers are queued. MM_WIM_CLOSE is the last callback.
MMRESULT waveInClose(HWAVEIN handle);
// Over-runs, a lost device and the amount read: for the program to show.
MMRESULT waveInGetStats(HWAVEIN handle, WaveInStats* stats);
