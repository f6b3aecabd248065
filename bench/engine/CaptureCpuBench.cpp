// CPU time of a capture from the private PulseAudio server (run through
// tests/support/with-pulse.sh): the program's capture (OpenCapture over our
// wave-in on ALSA's "pulse" device, every buffer to the ring and to a WAV
// take) against `arecord -D pulse` writing the same format to a file, both
// running at the same time for the same length (60 s, or
// SONDREL_BENCH_CAPTURE_SECONDS). Skipped without the server.

#include "bench/BenchQuick.h"
#include "engine/Capture.h"
#include "engine/IWaveDisplay.h"
#include "engine/RecordingState.h"
#include "engine/WavHeader.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

double CpuSeconds(const rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Reads the ring as the waveform display does, and drops what it read.
class DiscardingDisplay final : public IWaveDisplay {
public:
    void InitWave(void* /*window*/, std::int32_t /*samplesShown*/) override {}
    void ShowWave(BufManaEx* ring) override {
        std::vector<std::uint8_t> block(kCaptureBufferBytes);
        while (ring->Read(block.data(), kCaptureBufferBytes) && !ring->IsStopped()) {
        }
    }
    void StopShow() override {}
};

pid_t SpawnArecord(int seconds, const std::string& path) {
    std::vector<std::string> args = {"arecord", "-q", "-D",  "pulse", "-f",
                                     "cd",      "-t", "wav", "-d",    std::to_string(seconds),
                                     path};
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawnp(&pid, "arecord", nullptr, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

void BM_CaptureCpuVsArecord(benchmark::State& state) {
    if (std::getenv("SONDREL_TEST_PULSE") == nullptr) {
        state.SkipWithError(
            "no private PulseAudio server: run through tests/support/with-pulse.sh");
        return;
    }
    const char* secondsText = std::getenv("SONDREL_BENCH_CAPTURE_SECONDS");
    const int seconds = secondsText != nullptr ? std::atoi(secondsText) : 60;
    const std::string folder = std::getenv("XDG_RUNTIME_DIR");
    setenv("SONDREL_AUDIO_INPUT", "alsa:pulse", 1);

    for (auto _ : state) {
        DiscardingDisplay display;
        g_waveRing.Init(16 * kCaptureBufferBytes, 0xFFFFFFFFu);
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        const auto start = std::chrono::steady_clock::now();
        OpenCapture(true, display);
        const double openSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (g_hWaveIn == nullptr) {
            state.SkipWithError("capture from alsa:pulse did not open");
            return;
        }
        const std::string ours = folder + "/ours.wav";
        CreateWavFile(ours);
        g_wavFile.Open(ours);
        g_wavBytesWritten.store(0);
        g_toFile.store(true);
        g_fileType.store(kFileTypeWav);
        g_notRecording.store(false, std::memory_order_release);
        const pid_t arecord = SpawnArecord(seconds, folder + "/arecord.wav");

        std::this_thread::sleep_until(start + std::chrono::seconds(seconds));
        g_notRecording.store(true, std::memory_order_release);
        CloseCapture();
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        g_wavFile.Close();
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        int status = 0;
        waitpid(arecord, &status, 0);
        rusage children{};
        getrusage(RUSAGE_CHILDREN, &children);

        const double oursCpu = CpuSeconds(after) - CpuSeconds(before);
        const double arecordCpu = CpuSeconds(children);
        state.SetIterationTime(wall);
        state.counters["ours_cpu_s"] = oursCpu;
        state.counters["arecord_cpu_s"] = arecordCpu;
        state.counters["cpu_ratio"] = arecordCpu > 0 ? oursCpu / arecordCpu : 0.0;
        state.counters["ours_cpu_share"] = oursCpu / wall;
        state.counters["open_s"] = openSeconds;
        state.counters["ours_captured_s"] = g_wavBytesWritten.load() / 176400.0;
    }
}
BENCHMARK(BM_CaptureCpuVsArecord)
    ->UseManualTime()
    ->Iterations(BenchIterations(1))
    ->Unit(benchmark::kSecond);

} // namespace
