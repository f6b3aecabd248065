// The level meter's cost per display frame against the waveform's cost of the
// same frame, in the same run. A display frame is what the view shows about 30
// times a second: 1,470 frames of sound (1/30 s) of the tone. The meter's part
// is the display thread's work on that sound (LevelMeter::Add) and the
// reading and wording of the strip; the waveform's part is the display
// thread's publishing of the same sound and the GUI thread's repaint of the
// 332 x 52 display area (trace and strip) into an image. Part of
// oskary_cpu_bench, whose main starts the application.

#include "bench/BenchQuick.h"
#include "components/oskary/LatestSamples.h"
#include "components/oskary/WaveView.h"
#include "engine/LevelMeter.h"

#include <QImage>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <ctime>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t kFramesPerDisplayFrame = 1470;

std::vector<std::uint8_t> ToneFrames(std::size_t frames) {
    std::vector<std::uint8_t> pcm;
    for (std::size_t i = 0; i < frames; ++i) {
        for (const double hz : {440.0, 660.0}) {
            const auto sample =
                static_cast<std::int16_t>(16384 * std::sin(2 * M_PI * hz * i / 44100));
            const auto word = static_cast<std::uint16_t>(sample);
            pcm.push_back(static_cast<std::uint8_t>(word & 0xFF));
            pcm.push_back(static_cast<std::uint8_t>(word >> 8));
        }
    }
    return pcm;
}

// CPU time of this thread (both parts run on it), so other processes on a
// loaded machine do not count.
double ThreadCpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

void BM_MeterVsWaveformPerDisplayFrame(benchmark::State& state) {
    const std::vector<std::uint8_t> pcm = ToneFrames(kFramesPerDisplayFrame);
    QWidget host;
    host.resize(332, 52);
    auto samples = std::make_shared<LatestSamples>(2048);
    auto meter = std::make_shared<LevelMeter>();
    WaveView view(&host, samples, meter);
    QImage image(host.size(), QImage::Format_RGB32);
    std::vector<StereoFrame> frames;
    std::uint64_t seen = 0;
    double meterUs = 0.0;
    double waveformUs = 0.0;
    std::uint64_t position = 0;
    std::size_t words = 0;
    for (auto _ : state) {
        double start = ThreadCpuMicroseconds();
        meter->Add(pcm, position);
        const LevelReading reading = meter->Reading();
        words += FormatDbfs(reading.peak[0]).size() + FormatDbfs(reading.peak[1]).size();
        meterUs += ThreadCpuMicroseconds() - start;
        position += pcm.size();

        start = ThreadCpuMicroseconds();
        samples->Publish(pcm.data(), pcm.size());
        samples->CopyIfNewer(seen, frames);
        view.render(&image);
        waveformUs += ThreadCpuMicroseconds() - start;
    }
    benchmark::DoNotOptimize(words);
    const auto count = static_cast<double>(state.iterations());
    state.counters["meter_us_per_frame"] = meterUs / count;
    state.counters["waveform_us_per_frame"] = waveformUs / count;
    state.counters["meter_vs_waveform"] = meterUs / waveformUs;
}
BENCHMARK(BM_MeterVsWaveformPerDisplayFrame)->Iterations(BenchIterations(3000));

} // namespace
