#pragma once
// Wave output: the waveOut functions the playback code uses, over ALSA or a
// virtual output (see WaveSettings.h). Every callback runs on the device's
// service thread; the callback may prepare and write the next buffer but not
// reset or close its own device.

#include "platform/wave/PlaybackSink.h"
#include "platform/wave/WaveTypes.h"

#include <memory>

// 1 when the configured output is usable (an ALSA PCM that opens now, or a
// virtual output), else 0.
UINT waveOutGetNumDevs();
MMRESULT waveOutGetDevCaps(UINT_PTR deviceId, WAVEOUTCAPS* caps, UINT capsSize);
// Device WAVE_MAPPER (or 0) is the configured output; errors as for waveInOpen.
MMRESULT waveOutOpen(HWAVEOUT* handleOut, UINT deviceId, const WAVEFORMATEX* format,
                     DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
// The same over a sink the caller made.
MMRESULT waveOutOpenSink(HWAVEOUT* handleOut, std::unique_ptr<platform::wave::PlaybackSink> sink,
                         const WAVEFORMATEX* format, DWORD_PTR callback, DWORD_PTR instance,
                         DWORD flags);
MMRESULT waveOutPrepareHeader(HWAVEOUT handle, WAVEHDR* header, UINT headerSize);
MMRESULT waveOutUnprepareHeader(HWAVEOUT handle, WAVEHDR* header, UINT headerSize);
// Buffers play in the order written; each comes back with MM_WOM_DONE once played.
MMRESULT waveOutWrite(HWAVEOUT handle, WAVEHDR* header, UINT headerSize);
MMRESULT waveOutPause(HWAVEOUT handle);
MMRESULT waveOutRestart(HWAVEOUT handle);
// Drops what is not played yet and returns every queued buffer (MM_WOM_DONE)
// before it returns; a paused device plays again on the next write.
MMRESULT waveOutReset(HWAVEOUT handle);
// WAVERR_STILLPLAYING while buffers are queued. MM_WOM_CLOSE is the last callback.
MMRESULT waveOutClose(HWAVEOUT handle);
