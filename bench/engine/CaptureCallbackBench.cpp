// Time spent in one WaveInCallback per sink (ring only, WAV append, MP3 queue,
// CD queue), as a fraction of the 213 ms a capture buffer lasts: median and
// 99th percentile of single calls. The callback runs as in a take: on the
// service thread of a real wave-in device, which calls it when the buffer is
// full, and it queues the buffer again (clear, unprepare, prepare, add). Only
// the source differs: it hands over audio at once instead of in real time.
// Before each call, outside the timed span, the ring is read and the queues
// drained as the display and the sink threads would, so every call finds
// them as a take that keeps up does.

#include "bench/BenchQuick.h"
#include "engine/Capture.h"
#include "engine/RecordingState.h"
#include "engine/WavHeader.h"
#include "platform/wave/CaptureSource.h"
#include "platform/wave/WaveIn.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double kBufferSeconds = 37632.0 / 176400.0;

enum class Sink { RingOnly, Wav, Mp3, Cd };

void TakeFor(Sink sink, const std::string& wavPath) {
    g_notRecording.store(true);
    g_wavFile.Close();
    switch (sink) {
    case Sink::RingOnly:
        return;
    case Sink::Wav:
        CreateWavFile(wavPath);
        g_wavFile.Open(wavPath);
        g_toFile.store(true);
        g_fileType.store(kFileTypeWav);
        break;
    case Sink::Mp3:
        g_toFile.store(true);
        g_fileType.store(kFileTypeMp3);
        break;
    case Sink::Cd:
        g_toFile.store(false);
        break;
    }
    g_notRecording.store(false, std::memory_order_release);
}

void DrainAfterCall(std::vector<std::uint8_t>& scratch) {
    g_waveRing.Read(scratch.data(), kCaptureBufferBytes);
    for (CDataList* queue : {&g_mp3Queue, &g_cdQueue}) {
        std::uint32_t length = static_cast<std::uint32_t>(queue->GetWaitingBytes());
        if (length > 0) {
            queue->GetData(scratch.data(), &length);
        }
    }
}

// Audio at once, as much as asked for: the device fills its buffer as fast
// as it can, so the benchmark waits on nothing but the callback.
class ImmediateSource final : public platform::wave::CaptureSource {
public:
    void Start() override {}
    void Stop() override {}
    platform::wave::CaptureRead Read(std::span<char> out) override {
        std::fill(out.begin(), out.end(), 3);
        return {platform::wave::CaptureStatus::Ok, out.size()};
    }
    [[nodiscard]] std::string Name() const override { return "immediate"; }
};

// The benchmark's thread allows one call at a time (after draining), and the
// device's thread reports each call's length. Acquire/release pairs carry the
// drained queues to the call and the call's length back.
std::atomic<int> g_callsAllowed{0};
std::atomic<bool> g_timing{false};
std::atomic<std::uint64_t> g_callsTimed{0};
std::atomic<double> g_lastCallSeconds{0.0};

void TimedCallback(HWAVEIN handle, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                   DWORD_PTR param2) {
    if (message == MM_WIM_DATA && g_timing.load(std::memory_order_acquire)) {
        while (g_callsAllowed.load(std::memory_order_acquire) == 0 &&
               g_timing.load(std::memory_order_acquire)) {
            std::this_thread::yield();
        }
        g_callsAllowed.fetch_sub(1, std::memory_order_acq_rel);
    }
    const auto start = std::chrono::steady_clock::now();
    WaveInCallback(handle, message, instance, param1, param2);
    const auto end = std::chrono::steady_clock::now();
    if (message == MM_WIM_DATA) {
        g_lastCallSeconds.store(std::chrono::duration<double>(end - start).count(),
                                std::memory_order_relaxed);
        g_callsTimed.fetch_add(1, std::memory_order_release);
    }
}

void BM_WaveInCallback(benchmark::State& state, Sink sink) {
    const std::string wavPath =
        std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
        "/sondrel-capture-bench.wav";
    g_waveRing.Init(8 * kCaptureBufferBytes, 0xFFFFFFFFu);
    g_waveRing.SetStop(false);
    g_mp3Queue.Reset();
    g_cdQueue.Reset();
    TakeFor(sink, wavPath);

    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = 44100 * 4;
    HWAVEIN handle = nullptr;
    std::vector<char> buffer(kCaptureBufferBytes, 3);
    WAVEHDR header{};
    header.lpData = buffer.data();
    header.dwBufferLength = kCaptureBufferBytes;
    g_captureClosing.store(false, std::memory_order_release);
    g_callsAllowed.store(0, std::memory_order_release);
    g_timing.store(true, std::memory_order_release);
    if (waveInOpenSource(&handle, std::make_unique<ImmediateSource>(), &format,
                         reinterpret_cast<DWORD_PTR>(&TimedCallback), 0,
                         CALLBACK_FUNCTION) != MMSYSERR_NOERROR ||
        waveInPrepareHeader(handle, &header, sizeof(header)) != MMSYSERR_NOERROR ||
        waveInAddBuffer(handle, &header, sizeof(header)) != MMSYSERR_NOERROR ||
        waveInStart(handle) != MMSYSERR_NOERROR) {
        state.SkipWithError("the wave-in device could not be opened");
        return;
    }

    std::vector<std::uint8_t> scratch(kCaptureBufferBytes);
    std::vector<double> seconds;
    seconds.reserve(static_cast<std::size_t>(state.max_iterations));
    std::uint64_t timed = g_callsTimed.load(std::memory_order_acquire);
    for (auto _ : state) {
        g_callsAllowed.store(1, std::memory_order_release);
        while (g_callsTimed.load(std::memory_order_acquire) == timed) {
            std::this_thread::yield();
        }
        ++timed;
        seconds.push_back(g_lastCallSeconds.load(std::memory_order_relaxed));
        state.SetIterationTime(seconds.back());
        DrainAfterCall(scratch);
    }
    // The next call finds capture closing and leaves the buffer out.
    g_captureClosing.store(true, std::memory_order_release);
    g_timing.store(false, std::memory_order_release);
    waveInReset(handle);
    waveInClose(handle);
    g_notRecording.store(true);
    g_wavFile.Close();
    std::remove(wavPath.c_str());

    std::sort(seconds.begin(), seconds.end());
    const double median = seconds[seconds.size() / 2];
    const double p99 = seconds[std::min(seconds.size() - 1, seconds.size() * 99 / 100)];
    state.counters["median_us"] = median * 1e6;
    state.counters["p99_us"] = p99 * 1e6;
    state.counters["median_of_buffer"] = median / kBufferSeconds;
    state.counters["p99_of_buffer"] = p99 / kBufferSeconds;
}

BENCHMARK_CAPTURE(BM_WaveInCallback, RingOnly, Sink::RingOnly)
    ->UseManualTime()
    ->Iterations(BenchIterations(2000));
BENCHMARK_CAPTURE(BM_WaveInCallback, WavAppend, Sink::Wav)
    ->UseManualTime()
    ->Iterations(BenchIterations(2000));
BENCHMARK_CAPTURE(BM_WaveInCallback, Mp3Queue, Sink::Mp3)
    ->UseManualTime()
    ->Iterations(BenchIterations(2000));
BENCHMARK_CAPTURE(BM_WaveInCallback, CdQueue, Sink::Cd)
    ->UseManualTime()
    ->Iterations(BenchIterations(2000));

} // namespace
BENCHMARK_MAIN();
