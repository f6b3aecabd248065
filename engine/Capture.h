#pragma once
// Wave-in capture for the whole life of the main window: every full buffer
// goes to the waveform ring and, while a take runs, to the take's one sink
// (the WAV file, the MP3 queue or the CD queue). Takes switch the flags of
// RecordingState.h; the device stays open.

#include "platform/wave/WaveTypes.h"

class IWaveDisplay;

// Language texts ("Message" section) shown when capture cannot start.
inline constexpr int kMessageCaptureOpenFailed = 7;
inline constexpr int kMessageCapturePrepareFailed = 8;
inline constexpr int kMessageCaptureAddBufferFailed = 9;
inline constexpr int kMessageCaptureStartFailed = 10;

// Main thread, once, after g_waveRing has been initialised. Without record
// sources the program runs without capture. A failing device step shows its
// message (plain box, OK, no icon) and leaves g_notRecording set; the device
// stays open after a failure past waveInOpen. On success the display thread
// runs display.ShowWave(&g_waveRing); `display` must outlive CloseCapture.
void OpenCapture(bool recordSourcesListed, IWaveDisplay& display);

// The wave-input callback; acts on MM_WIM_DATA only. Never waits, allocates
// (beyond a growing feed queue), logs or touches the user interface.
void WaveInCallback(HWAVEIN handle, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                    DWORD_PTR param2);

// Main thread, when g_hWaveIn is not null: stops re-queuing, resets and closes
// the device, stops the ring and the display and waits for the display thread.
// Returns the result of waveInClose (MMSYSERR_NOERROR: closed with no buffer
// left queued).
MMRESULT CloseCapture();
