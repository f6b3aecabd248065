#include "engine/Capture.h"

#include "engine/IWaveDisplay.h"
#include "engine/RecordingState.h"
#include "lang/LangText.h"
#include "platform/wave/InputOpenProblem.h"
#include "platform/wave/PcmFormat.h"
#include "platform/wave/WaveIn.h"
#include "util/MessageBox.h"
#include "util/ThreadName.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
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

// Hands `bytes` to the take's sink.
void FeedBytes(std::span<const std::uint8_t> bytes) {
    const auto length = static_cast<std::uint32_t>(bytes.size());
    if (!g_toFile.load(std::memory_order_relaxed)) {
        g_cdQueue.PutData(bytes.data(), length);
        return;
    }
    switch (g_fileType.load(std::memory_order_relaxed)) {
    case kFileTypeMp3:
        g_mp3Queue.PutData(bytes.data(), length);
        break;
    case kFileTypeWav:
        if (g_wavQueued.load(std::memory_order_relaxed)) {
            g_mp3Queue.PutData(bytes.data(), length);
            break;
        }
        g_wavFile.Append(bytes.data(), length);
        g_wavBytesWritten.fetch_add(length, std::memory_order_relaxed);
        break;
    default:
        break;
    }
}

void FeedSink(const std::uint8_t* data) {
    // Acquire pairs with the session's release store that starts a take: the
    // sink fields, the limit and the pre-record below were written before it.
    if (g_notRecording.load(std::memory_order_acquire)) {
        return;
    }
    // The first buffer of a take is preceded by the sound captured before
    // Record that the take asks for; the ring holds everything up to the
    // buffer before this one. A take that begins at a stream position (a set
    // time, a sound) counts the sound from there as captured in the take.
    std::uint32_t preRecord = g_preRecordBytes.exchange(0, std::memory_order_relaxed);
    std::uint32_t sinceStart = 0;
    const std::uint64_t startByte =
        g_takeStartByte.exchange(kNoTakeStartByte, std::memory_order_relaxed);
    if (startByte != kNoTakeStartByte) {
        sinceStart = g_preRecordRing.BytesSince(startByte);
        preRecord += sinceStart;
    }
    if (preRecord > 0) {
        g_preRecordRing.ForNewest(preRecord, FeedBytes);
    }
    const std::uint64_t captured = g_takeBytesCaptured.load(std::memory_order_relaxed) + sinceStart;
    const std::uint64_t limit = g_takeLimitBytes.load(std::memory_order_relaxed);
    if (captured >= limit) {
        g_takeBytesCaptured.store(captured, std::memory_order_release);
        return;
    }
    const auto length =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(kCaptureBufferBytes, limit - captured));
    FeedBytes({data, length});
    // Release: whoever sees the count sees the sound handed to the sink.
    g_takeBytesCaptured.store(captured + length, std::memory_order_release);
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
    g_preRecordRing.Clear(); // the service thread that uses it starts below
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
    g_displayThread = std::thread([&display] {
        util::NameThisThread("display");
        display.ShowWave(&g_waveRing);
    });
}

void WaveInCallback(HWAVEIN handle, UINT message, DWORD_PTR /*instance*/, DWORD_PTR param1,
                    DWORD_PTR /*param2*/) {
    if (message != MM_WIM_DATA) {
        return;
    }
    // The wave service passes the header's address as the first parameter.
    auto* header = reinterpret_cast<WAVEHDR*>(param1); // NOLINT(performance-no-int-to-ptr)
    const auto* data = reinterpret_cast<const std::uint8_t*>(header->lpData);
    // The sink first: a buffer that has reached the waveform ring has been
    // handed to the take, so a Stop after it keeps it.
    FeedSink(data);
    g_waveRing.Write(data, kCaptureBufferBytes);
    g_preRecordRing.Write({data, kCaptureBufferBytes});
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
