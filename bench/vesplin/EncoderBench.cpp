// Encoding speed of the encoder component against the lame command-line
// encoder (/usr/bin/lame), on the same 60-second WAV with the same settings,
// in the same run. Each iteration runs both, one after the other, so that a
// busy machine slows both alike.
//
// Both sides do the same work: read the WAV from disk, encode it, write the
// MP3 to disk with its summary frame. lame is run with --noreplaygain: by
// default it also analyses the loudness for ReplayGain, which the component
// does not (its files are byte for byte lame's with --noreplaygain). The component's side goes
// through a feed queue the way a take does: the PCM is put in capture-sized buffers, the queue is
// ended, and Encode_DataStreamEx drains it (with the queue's pauses set to 0, so that only the work
// is timed).
//
// Figures (counters):
//   vesplin_x_realtime, lame_x_realtime  seconds of sound encoded per second
//                                        of wall-clock time
//   speed_ratio          vesplin / lame by wall-clock time
//   cpu_ratio            lame's CPU time / the component's CPU time: the
//                        same comparison, less disturbed by other load
//   cpu_share_at_1x      the share of one core the component needs to keep
//                        up with a live take (its CPU seconds per second of
//                        sound)

#include "bench/BenchQuick.h"
#include "bench/vesplin/BenchWorkspace.h"
#include "components/vesplin/CAuEncode.h"
#include "components/vesplin/EncodeFile.h"
#include "engine/CDataList.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr std::uint32_t kCaptureBytes = 37632;
constexpr char kLameCli[] = "/usr/bin/lame";

double ThreadCpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double Seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

// Runs the command-line encoder; its CPU time (user + system), or -1.
double RunLameCli(const std::vector<std::string>& settings, const std::string& in,
                  const std::string& out) {
    std::vector<std::string> args{kLameCli, "--quiet", "--noreplaygain"};
    args.insert(args.end(), settings.begin(), settings.end());
    args.push_back(in);
    args.push_back(out);
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawn(&pid, kLameCli, nullptr, nullptr, argv.data(), environ) != 0) {
        return -1.0;
    }
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1.0;
    }
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

// Reads the WAV, puts its PCM through a feed queue and encodes it.
bool RunComponent(CAuEncode& encoder, const std::string& in, const std::string& out) {
    std::ifstream file(in, std::ios::binary);
    std::vector<char> buffer(kCaptureBytes);
    file.read(buffer.data(), vesplin::kWavHeaderBytes);
    CDataList queue(CDataListPauses{0, 0, 0});
    while (file.read(buffer.data(), kCaptureBytes) || file.gcount() > 0) {
        queue.PutData(reinterpret_cast<const std::uint8_t*>(buffer.data()),
                      static_cast<std::uint32_t>(file.gcount()));
    }
    queue.SetStop(true);
    encoder.EncodeStop();
    return encoder.Encode_DataStreamEx(&queue, kCaptureBytes, out);
}

void CompareWithLameCli(benchmark::State& state, const std::string& iniText,
                        const std::vector<std::string>& cliSettings) {
    const BenchWorkspace& workspace = GetBenchWorkspace();
    const std::string ini = workspace.folder + "SoftSet.ini";
    std::ofstream(ini) << iniText;
    CAuEncode encoder(ini, std::make_unique<vesplin::EncodeFile>());
    const std::string wav = workspace.folder + "in.wav";
    double ourWall = 0.0;
    double ourCpu = 0.0;
    double cliWall = 0.0;
    double cliCpu = 0.0;
    for (auto _ : state) {
        using Clock = std::chrono::steady_clock;
        const auto cliStart = Clock::now();
        const double cpu = RunLameCli(cliSettings, wav, workspace.folder + "cli.mp3");
        const auto cliEnd = Clock::now();
        if (cpu < 0.0) {
            state.SkipWithError("the lame command-line encoder did not run");
            return;
        }
        const double cpuStart = ThreadCpuSeconds();
        const auto ourStart = Clock::now();
        if (!RunComponent(encoder, wav, workspace.folder + "ours.mp3")) {
            state.SkipWithError("Encode_DataStreamEx failed");
            return;
        }
        const auto ourEnd = Clock::now();
        ourCpu += ThreadCpuSeconds() - cpuStart;
        cliCpu += cpu;
        cliWall += std::chrono::duration<double>(cliEnd - cliStart).count();
        ourWall += std::chrono::duration<double>(ourEnd - ourStart).count();
    }
    const double sound =
        static_cast<double>(kSoundSeconds) * static_cast<double>(state.iterations());
    state.counters["vesplin_x_realtime"] = sound / ourWall;
    state.counters["lame_x_realtime"] = sound / cliWall;
    state.counters["speed_ratio"] = cliWall / ourWall;
    state.counters["cpu_ratio"] = cliCpu / ourCpu;
    state.counters["cpu_share_at_1x"] = ourCpu / sound;
    state.counters["mp3_bytes_ours"] =
        static_cast<double>(std::filesystem::file_size(workspace.folder + "ours.mp3"));
    state.counters["mp3_bytes_lame"] =
        static_cast<double>(std::filesystem::file_size(workspace.folder + "cli.mp3"));
}

void BM_Cbr192VsLameCli(benchmark::State& state) {
    CompareWithLameCli(state, "[Mp3]\nMode=CBR\nBitRate=192\n", {"--cbr", "-b", "192"});
}
BENCHMARK(BM_Cbr192VsLameCli)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(BenchIterations(5));

void BM_VbrQuality2VsLameCli(benchmark::State& state) {
    CompareWithLameCli(state, "[Mp3]\nMode=VBR\nVbrQuality=2\n", {"-V", "2"});
}
BENCHMARK(BM_VbrQuality2VsLameCli)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(BenchIterations(5));

} // namespace

BENCHMARK_MAIN();
