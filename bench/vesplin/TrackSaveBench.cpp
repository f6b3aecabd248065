// Saving a disc track to WAV with CAuEncode::Encode from the emulated drive
// at unlimited speed, against a plain copy of the same sectors from the
// drive's own image file into a WAV file, in the same run. Each iteration
// runs both, the copy first. The copy is what the save would cost without
// the drive layer (READ CD commands, the emulator's checks, the retry logic).
//
// Counters: save_x_realtime and copy_x_realtime, seconds of sound saved per
// second of wall-clock time; speed_ratio, the save's speed over the copy's.

#include "bench/BenchQuick.h"
#include "bench/vesplin/BenchWorkspace.h"
#include "components/quarnel/device/CDevCmdROM.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/emu/SteadyClock.h"
#include "components/vesplin/CAuEncode.h"
#include "components/vesplin/EncodeFile.h"
#include "components/vesplin/TrackReader.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::uint32_t kTrackSectors = kSoundSeconds * 75;

// Copies the image's sectors into a WAV file the plain way, in chunks of the
// size the save reads.
bool CopyImageToWav(const std::string& image, const std::string& wav) {
    const int in = ::open(image.c_str(), O_RDONLY | O_CLOEXEC);
    vesplin::EncodeFile out;
    if (in < 0 || !out.Create(wav)) {
        return false;
    }
    const auto header = vesplin::MakeWavHeader(kTrackSectors * vesplin::TrackReader::kSectorBytes);
    bool ok = out.Append(header.data(), header.size());
    std::vector<std::uint8_t> chunk(vesplin::TrackReader::kChunkSectors *
                                    vesplin::TrackReader::kSectorBytes);
    for (ssize_t got = 0; ok && (got = ::read(in, chunk.data(), chunk.size())) > 0;) {
        ok = out.Append(chunk.data(), static_cast<std::size_t>(got));
    }
    ::close(in);
    return out.Close() && ok;
}

void BM_TrackToWavFromEmulatedDrive(benchmark::State& state) {
    const BenchWorkspace& workspace = GetBenchWorkspace();
    auto drive = quarnel::emu::EmulatedDrive::Open(workspace.driveFolder,
                                                   std::make_shared<quarnel::emu::SteadyClock>());
    if (!drive || !drive->LoadImage(workspace.folder + "disc.cue")) {
        state.SkipWithError("the emulated drive could not be set up");
        return;
    }
    quarnel::CDevCmdROM device(std::move(drive), 3);
    CAuEncode encoder(workspace.folder + "SoftSet.ini", std::make_unique<vesplin::EncodeFile>());
    const std::string image = (workspace.driveFolder / quarnel::emu::kDiscImageFileName).string();
    double saveSeconds = 0.0;
    double copySeconds = 0.0;
    for (auto _ : state) {
        using Clock = std::chrono::steady_clock;
        const auto copyStart = Clock::now();
        const bool copied = CopyImageToWav(image, workspace.folder + "copy.wav");
        const auto saveStart = Clock::now();
        const bool saved =
            encoder.Encode(&device, 0, kTrackSectors - 1, workspace.folder + "track.wav");
        const auto saveEnd = Clock::now();
        if (!copied || !saved || encoder.GetUnreadableSectors() != 0) {
            state.SkipWithError("the copy or the save failed");
            return;
        }
        copySeconds += std::chrono::duration<double>(saveStart - copyStart).count();
        saveSeconds += std::chrono::duration<double>(saveEnd - saveStart).count();
    }
    const double sound =
        static_cast<double>(kSoundSeconds) * static_cast<double>(state.iterations());
    state.counters["save_x_realtime"] = sound / saveSeconds;
    state.counters["copy_x_realtime"] = sound / copySeconds;
    state.counters["speed_ratio"] = copySeconds / saveSeconds;
}
BENCHMARK(BM_TrackToWavFromEmulatedDrive)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(BenchIterations(20));

} // namespace
