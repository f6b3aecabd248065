#include "engine/Capture.h"

#include "engine/IWaveDisplay.h"
#include "engine/RecordingState.h"
#include "lang/LangText.h"
#include "platform/wave/InputOpenProblem.h"
#include "platform/wave/PcmFormat.h"
#include "platform/wave/WaveIn.h"
#include "util/MessageBox.h"

#include <array>
#include <cstring>
#include <thread>
#include <unistd.h>

namespace {

// The one capture buffer and its header: queued again after every use.
std::array<char, kCaptureBufferBytes> g_captureBuffer{};
WAVEHDR g_captureHeader{};

// Main thread only.
IWaveDisplay* g_display = nullptr;
std::thread g_displayThread;

void ShowCaptureFailure(const std::string& text) {
    util::ShowMessageBox(text, util::MB_OK);
    g_notRecording.store(true, std::memory_order_release);
}

void ShowCaptureFailure(int messageNumber) {
    ShowCaptureFailure(lang::GetLangString("Message", messageNumber));
}

void FeedSink(const std::uint8_t* data) {
    // Acquire pairs with the session's release store that starts a take: the
    // sink fields below were written before it.
    if (g_notRecording.load(std::memory_order_acquire)) {
        return;
    }
    if (!g_toFile.load(std::memory_order_relaxed)) {
        g_cdQueue.PutData(data, kCaptureBufferBytes);
        return;
    }
    switch (g_fileType.load(std::memory_order_relaxed)) {
    case kFileTypeMp3:
        g_mp3Queue.PutData(data, kCaptureBufferBytes);
        break;
    case kFileTypeWav:
        g_wavFile.Append(data, kCaptureBufferBytes);
        g_wavBytesWritten.fetch_add(kCaptureBufferBytes, std::memory_order_relaxed);
        break;
    default:
        break;
    }
}

} // namespace

void OpenCapture(bool recordSourcesListed, IWaveDisplay& display) {
    g_waveRing.SetStop(true);
    if (!recordSourcesListed) {
        g_notRecording.store(true, std::memory_order_release);
        return;
    }
    const WAVEFORMATEX format = platform::wave::CdAudioFormat();
    // The instance value is the opening thread's identifier; the callback
    // does not use it.
    const MMRESULT opened =
        waveInOpen(&g_hWaveIn, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(&WaveInCallback),
                   static_cast<DWORD_PTR>(::gettid()), CALLBACK_FUNCTION);
    if (opened != MMSYSERR_NOERROR) {
        g_hWaveIn = nullptr;
        // An input that knows what is wrong (a file input's file) says so
        // instead of the device message.
        const std::string problem = platform::wave::WaveInOpenProblem();
        if (problem.empty()) {
            ShowCaptureFailure(kMessageCaptureOpenFailed);
        } else {
            ShowCaptureFailure(problem);
        }
        return;
    }
    g_captureBuffer.fill(0);
    g_captureHeader = WAVEHDR{};
    g_captureHeader.lpData = g_captureBuffer.data();
    g_captureHeader.dwBufferLength = kCaptureBufferBytes;
    if (waveInPrepareHeader(g_hWaveIn, &g_captureHeader, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        ShowCaptureFailure(kMessageCapturePrepareFailed);
        return;
    }
    if (waveInAddBuffer(g_hWaveIn, &g_captureHeader, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        ShowCaptureFailure(kMessageCaptureAddBufferFailed);
        return;
    }
    // Cleared before the device starts, so that the first buffer is queued
    // again; release pairs with the callback's acquire load.
    g_captureClosing.store(false, std::memory_order_release);
    if (waveInStart(g_hWaveIn) != MMSYSERR_NOERROR) {
        g_captureClosing.store(true, std::memory_order_release);
        ShowCaptureFailure(kMessageCaptureStartFailed);
        return;
    }
    g_waveRing.SetStop(false);
    g_display = &display;
    g_displayThread = std::thread([&display] { display.ShowWave(&g_waveRing); });
}

void WaveInCallback(HWAVEIN handle, UINT message, DWORD_PTR /*instance*/, DWORD_PTR param1,
                    DWORD_PTR /*param2*/) {
    if (message != MM_WIM_DATA) {
        return;
    }
    // The wave service passes the header's address as the first parameter.
    auto* header = reinterpret_cast<WAVEHDR*>(param1); // NOLINT(performance-no-int-to-ptr)
    const auto* data = reinterpret_cast<const std::uint8_t*>(header->lpData);
    g_waveRing.Write(data, kCaptureBufferBytes);
    FeedSink(data);
    if (g_captureClosing.load(std::memory_order_acquire)) {
        return;
    }
    std::memset(header->lpData, 0, kCaptureBufferBytes);
    waveInUnprepareHeader(handle, header, sizeof(WAVEHDR));
    waveInPrepareHeader(handle, header, sizeof(WAVEHDR));
    waveInAddBuffer(handle, header, sizeof(WAVEHDR));
}

MMRESULT CloseCapture() {
    g_captureClosing.store(true, std::memory_order_release);
    waveInReset(g_hWaveIn);
    const MMRESULT closed = waveInClose(g_hWaveIn);
    g_hWaveIn = nullptr;
    g_waveRing.SetStop(true);
    if (g_display != nullptr) {
        g_display->StopShow();
        g_display = nullptr;
    }
    if (g_displayThread.joinable()) {
        g_displayThread.join();
    }
    return closed;
}
