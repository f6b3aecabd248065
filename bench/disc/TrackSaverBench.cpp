// Saving a disc track the way the Save button does (the track list read from
// the emulated drive, the save worker, the encoder reading the drive) to WAV
// and to MP3, against the ripper `cd-paranoia` extracting the same track from
// the same CUE/BIN to WAV, and the MP3 save against the pipeline
// `cd-paranoia ... | lame` at the same setting, in the same run. Each
// iteration runs the peer first, then the save.
//
// Counters: save_x_realtime and peer_x_realtime, seconds of sound per second
// of wall-clock time; speed_ratio, the save's speed over the ripper's.

#include "bench/BenchQuick.h"
#include "bench/vesplin/BenchWorkspace.h"
#include "components/quarnel/device/CDevCmdROM.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/emu/SteadyClock.h"
#include "components/vesplin/CAuEncode.h"
#include "components/vesplin/EncodeFile.h"
#include "disc/TrackListReader.h"
#include "disc/TrackRowsTable.h"
#include "disc/TrackSaver.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Runs a tool to its end; false when it could not run or failed.
bool RunTool(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    // The ripper reports on stderr even when asked to be quiet.
    posix_spawn_file_actions_t quiet;
    ::posix_spawn_file_actions_init(&quiet);
    ::posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) {
        return false;
    }
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void SaveAgainstTool(benchmark::State& state, disc::SaveFormat format,
                     const std::vector<std::string>& tool) {
    const BenchWorkspace& workspace = GetBenchWorkspace();
    auto drive = quarnel::emu::EmulatedDrive::Open(workspace.driveFolder,
                                                   std::make_shared<quarnel::emu::SteadyClock>());
    if (!drive || !drive->LoadImage(workspace.folder + "disc.cue")) {
        state.SkipWithError("the emulated drive could not be set up");
        return;
    }
    quarnel::CDevCmdROM device(std::move(drive), 3);
    disc::TrackRowsTable rows;
    disc::TrackAddressTable addresses;
    disc::TrackListReader(rows, addresses).ReadDisc(&device);
    if (rows.RowCount() != 1) {
        state.SkipWithError("the track list was not read");
        return;
    }
    const std::string saved = workspace.folder + "saved/";
    CAuEncode encoder(workspace.folder + "SoftSet.ini", std::make_unique<vesplin::EncodeFile>());
    double saveSeconds = 0.0;
    double toolSeconds = 0.0;
    for (auto _ : state) {
        std::filesystem::remove_all(saved);
        std::filesystem::create_directories(saved);
        const auto toolStart = Clock::now();
        const bool converted = RunTool(tool);
        const auto saveStart = Clock::now();
        disc::TrackSaver saver(encoder);
        saver.Start(&device, rows, addresses, saved, format);
        saver.Wait();
        const auto saveEnd = Clock::now();
        if (!converted || saver.TracksSaved() != 1) {
            state.SkipWithError("the tool or the save failed");
            return;
        }
        toolSeconds += std::chrono::duration<double>(saveStart - toolStart).count();
        saveSeconds += std::chrono::duration<double>(saveEnd - saveStart).count();
    }
    const double sound =
        static_cast<double>(kSoundSeconds) * static_cast<double>(state.iterations());
    state.counters["save_x_realtime"] = sound / saveSeconds;
    state.counters["peer_x_realtime"] = sound / toolSeconds;
    state.counters["speed_ratio"] = toolSeconds / saveSeconds;
}

// The ripper reads the image through its CUE sheet as it would read a drive,
// with its default verification.
std::vector<std::string> Ripper() {
    const std::string& folder = GetBenchWorkspace().folder;
    return {"cd-paranoia",  "--quiet", "--force-cdrom-device", folder + "disc.cue",
            "--output-wav", "1",       folder + "peer.wav"};
}

void BM_SaveWavVsRipper(benchmark::State& state) {
    SaveAgainstTool(state, disc::SaveFormat::Wav, Ripper());
}
void BM_SaveMp3VsRipper(benchmark::State& state) {
    SaveAgainstTool(state, disc::SaveFormat::Mp3, Ripper());
}
// The ripper's WAV on its standard output into the `lame` command line at our
// default setting (CBR 192 kbit/s), the two running side by side.
void BM_SaveMp3VsRipperPipeline(benchmark::State& state) {
    const std::string& folder = GetBenchWorkspace().folder;
    SaveAgainstTool(state, disc::SaveFormat::Mp3,
                    {"sh", "-c",
                     "cd-paranoia --quiet --force-cdrom-device '" + folder +
                         "disc.cue' 1 - | lame --quiet --noreplaygain --cbr -b 192 - '" + folder +
                         "peer.mp3'"});
}

BENCHMARK(BM_SaveWavVsRipper)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(BenchIterations(5));
BENCHMARK(BM_SaveMp3VsRipper)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(BenchIterations(2));
BENCHMARK(BM_SaveMp3VsRipperPipeline)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(BenchIterations(5));

} // namespace

BENCHMARK_MAIN();
