// CPU cost of the live waveform display while capture runs from the virtual
// tone input, drawn offscreen. Two captures of the same length run one after
// the other in the same process: capture alone (a display that reads nothing,
// so the ring drops every block), then capture with the waveform display (its
// reader thread plus about 30 repaints a second on the GUI thread). Both run
// the same GUI event loop. Reported per second of capture, and the display's
// share as a ratio against capture alone. Length: 5 s per capture, or
// SONDREL_BENCH_DISPLAY_SECONDS.

#include "bench/BenchQuick.h"
#include "components/oskary/WaveDisplay.h"
#include "engine/BufManaEx.h"
#include "engine/Capture.h"
#include "engine/RecordingState.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>

namespace {

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Waits for the stop and reads nothing.
class IdleDisplay final : public IWaveDisplay {
public:
    void InitWave(void* /*window*/, std::int32_t /*samplesShown*/) override {}
    void ShowWave(BufManaEx* ring) override {
        while (!ring->IsStopped()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    void StopShow() override {}
};

// CPU seconds the process spent while capturing for `seconds` with `display`,
// the GUI event loop running meanwhile. Negative when capture did not open.
double CaptureCpuSeconds(IWaveDisplay& display, int seconds) {
    g_waveRing.Init(200 * kCaptureBufferBytes, 0x40000000u);
    const double before = ProcessCpuSeconds();
    OpenCapture(true, display);
    if (g_hWaveIn == nullptr) {
        return -1.0;
    }
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    CloseCapture();
    return ProcessCpuSeconds() - before;
}

void BM_WaveDisplayCpuVsCaptureAlone(benchmark::State& state) {
    const char* secondsText = std::getenv("SONDREL_BENCH_DISPLAY_SECONDS");
    const int seconds = secondsText != nullptr ? std::max(1, std::atoi(secondsText)) : 5;
    setenv("SONDREL_AUDIO_INPUT", "tone", 1);
    for (auto _ : state) {
        IdleDisplay idle;
        const double alone = CaptureCpuSeconds(idle, seconds);

        QWidget host;
        host.resize(332, 52);
        host.show();
        WaveDisplay display;
        display.InitWave(&host, 2048);
        const double withDisplay = CaptureCpuSeconds(display, seconds);
        if (alone <= 0.0 || withDisplay <= 0.0) {
            state.SkipWithError("capture from the tone input did not open");
            return;
        }
        const double displayCpu = withDisplay - alone;
        state.SetIterationTime(2.0 * seconds);
        state.counters["capture_cpu_ms_per_s"] = 1000.0 * alone / seconds;
        state.counters["display_cpu_ms_per_s"] = 1000.0 * displayCpu / seconds;
        state.counters["display_vs_capture"] = displayCpu / alone;
        state.counters["display_mb_read"] = static_cast<double>(display.BytesShown()) / 1e6;
    }
}
BENCHMARK(BM_WaveDisplayCpuVsCaptureAlone)
    ->UseManualTime()
    ->Iterations(BenchIterations(1))
    ->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
