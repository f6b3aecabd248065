// Time spent in one WaveInCallback per sink (ring only, WAV append, MP3 queue,
// CD queue), as a fraction of the 213 ms a capture buffer lasts: median and
// 99th percentile of single calls. The callback is called directly with
// capture marked as closing, so the figures hold the dispatch (ring copy and
// sink) without the re-queuing of the buffer to the device. Between calls,
// outside the timed span, the ring is read and the queue drained as the
// display and the sink threads would.

#include "engine/Capture.h"
#include "engine/RecordingState.h"
#include "engine/WavHeader.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
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

void BM_WaveInCallback(benchmark::State& state, Sink sink) {
    const std::string wavPath =
        std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
        "/sondrel-capture-bench.wav";
    g_waveRing.Init(8 * kCaptureBufferBytes, 0xFFFFFFFFu);
    g_waveRing.SetStop(false);
    g_captureClosing.store(true);
    g_mp3Queue.Reset();
    g_cdQueue.Reset();
    TakeFor(sink, wavPath);

    std::vector<char> buffer(kCaptureBufferBytes, 3);
    WAVEHDR header;
    header.lpData = buffer.data();
    header.dwBufferLength = kCaptureBufferBytes;
    header.dwBytesRecorded = kCaptureBufferBytes;
    std::vector<std::uint8_t> scratch(kCaptureBufferBytes);
    std::vector<double> seconds;
    seconds.reserve(static_cast<std::size_t>(state.max_iterations));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        WaveInCallback(nullptr, MM_WIM_DATA, 0, reinterpret_cast<DWORD_PTR>(&header), 0);
        const auto end = std::chrono::steady_clock::now();
        seconds.push_back(std::chrono::duration<double>(end - start).count());
        state.SetIterationTime(seconds.back());
        DrainAfterCall(scratch);
    }
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

BENCHMARK_CAPTURE(BM_WaveInCallback, RingOnly, Sink::RingOnly)->UseManualTime()->Iterations(2000);
BENCHMARK_CAPTURE(BM_WaveInCallback, WavAppend, Sink::Wav)->UseManualTime()->Iterations(2000);
BENCHMARK_CAPTURE(BM_WaveInCallback, Mp3Queue, Sink::Mp3)->UseManualTime()->Iterations(2000);
BENCHMARK_CAPTURE(BM_WaveInCallback, CdQueue, Sink::Cd)->UseManualTime()->Iterations(2000);

} // namespace
BENCHMARK_MAIN();
