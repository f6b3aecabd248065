// The emulated writer at unlimited speed against plain file I/O of the same
// sizes on the same disk: sustained 16-block WRITEs (one capture buffer each)
// and 26-block READ CDs. The "x1" counter gives the rate as a multiple of 1x
// CD speed (176,400 B/s).
#include "components/quarnel/emu/DiscImageFile.h"
#include "components/quarnel/emu/DriveFolders.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/emu/SteadyClock.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace quarnel;
using namespace quarnel::emu;

constexpr std::uint32_t kBlockBytes = 2352;
constexpr std::uint32_t kWriteBlocks = 16;
constexpr std::uint32_t kReadBlocks = 26;
// Start again on a fresh disc after this many blocks (about 20 minutes of sound).
constexpr std::uint32_t kBlocksPerDisc = 90'000;
constexpr double kBytesPerSecond1x = 176'400.0;

class BenchFolder {
public:
    BenchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "sondrel-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
    ~BenchFolder() {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

CommandBlock Cdb(std::initializer_list<std::uint8_t> bytes) {
    CommandBlock cdb;
    std::copy(bytes.begin(), bytes.end(), cdb.bytes.begin());
    cdb.length = static_cast<std::uint8_t>(bytes.size());
    return cdb;
}

Command WriteCommand(std::uint32_t lba, std::vector<std::uint8_t>& data) {
    Command command;
    const auto blocks = static_cast<std::uint16_t>(data.size() / kBlockBytes);
    command.cdb =
        Cdb({0x2A, 0, static_cast<std::uint8_t>(lba >> 24), static_cast<std::uint8_t>(lba >> 16),
             static_cast<std::uint8_t>(lba >> 8), static_cast<std::uint8_t>(lba), 0,
             static_cast<std::uint8_t>(blocks >> 8), static_cast<std::uint8_t>(blocks), 0});
    command.direction = DataDirection::ToDevice;
    command.data = data;
    return command;
}

std::unique_ptr<EmulatedDrive> AudioWriter(const std::filesystem::path& parent) {
    const std::filesystem::path folder = CreateDriveFolder(parent, "bench", 0);
    std::unique_ptr<EmulatedDrive> drive =
        EmulatedDrive::Open(folder, std::make_shared<SteadyClock>());
    if (drive == nullptr || !drive->LoadBlank(MediumKind::CdR)) {
        return nullptr;
    }
    // The new disc's unit attention goes to a TEST UNIT READY, as a host takes it.
    Command ready;
    ready.cdb = Cdb({0, 0, 0, 0, 0, 0});
    (void)drive->Execute(ready);
    std::vector<std::uint8_t> list(8 + 0x34, 0);
    list[8] = 0x05;
    list[9] = 0x32;
    list[10] = 0x41; // BUFE, TAO
    list[11] = 0xC0; // audio, multi-session
    Command select;
    select.cdb = Cdb({0x55, 0x10, 0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(list.size()), 0});
    select.direction = DataDirection::ToDevice;
    select.data = list;
    return drive->Execute(select).Ok() ? std::move(drive) : nullptr;
}

void Report(benchmark::State& state, std::uint64_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.counters["x1"] = benchmark::Counter(static_cast<double>(bytes) / kBytesPerSecond1x,
                                              benchmark::Counter::kIsRate);
}

// Runs `step(lba)` once an iteration, `blocks` further each time; when the
// next step would pass `wrapAt`, calls `restart()` outside the timing and
// starts again from address 0.
template <typename Step, typename Restart>
void RunSteps(benchmark::State& state, std::uint32_t blocks, std::uint32_t wrapAt, Step step,
              Restart restart) {
    std::uint32_t lba = 0;
    std::uint64_t bytes = 0;
    for (auto _ : state) {
        if (lba + blocks > wrapAt) {
            state.PauseTiming();
            restart();
            lba = 0;
            state.ResumeTiming();
        }
        if (!step(lba)) {
            state.SkipWithError("the operation failed");
            return;
        }
        lba += blocks;
        bytes += std::uint64_t{blocks} * kBlockBytes;
    }
    Report(state, bytes);
}

constexpr std::uint32_t kTrackBlocks = 16 * 1000; // 213 s of sound

void EmulatedWrite16(benchmark::State& state) {
    BenchFolder folder;
    std::unique_ptr<EmulatedDrive> drive = AudioWriter(folder.Path());
    if (drive == nullptr) {
        state.SkipWithError("cannot set up the drive");
        return;
    }
    std::vector<std::uint8_t> data(kWriteBlocks * kBlockBytes, 0x5A);
    RunSteps(
        state, kWriteBlocks, kBlocksPerDisc,
        [&](std::uint32_t lba) { return drive->Execute(WriteCommand(lba, data)).Ok(); },
        [&] { drive->LoadBlank(MediumKind::CdR); });
}

void RawFileWrite16(benchmark::State& state) {
    BenchFolder folder;
    DiscImageFile file;
    if (!file.Open(folder.Path() / "raw.bin")) {
        state.SkipWithError("cannot open the file");
        return;
    }
    std::vector<std::uint8_t> data(kWriteBlocks * kBlockBytes, 0x5A);
    RunSteps(
        state, kWriteBlocks, kBlocksPerDisc,
        [&](std::uint32_t lba) { return file.Write(std::uint64_t{lba} * kBlockBytes, data); },
        [&] { (void)file.Truncate(0); });
}

void EmulatedReadCd26(benchmark::State& state) {
    BenchFolder folder;
    std::unique_ptr<EmulatedDrive> drive = AudioWriter(folder.Path());
    std::vector<std::uint8_t> data(kWriteBlocks * kBlockBytes, 0x5A);
    for (std::uint32_t lba = 0; drive != nullptr && lba < kTrackBlocks; lba += kWriteBlocks) {
        (void)drive->Execute(WriteCommand(lba, data));
    }
    if (drive == nullptr) {
        state.SkipWithError("cannot set up the drive");
        return;
    }
    std::vector<std::uint8_t> reply(kReadBlocks * kBlockBytes);
    RunSteps(
        state, kReadBlocks, kTrackBlocks,
        [&](std::uint32_t lba) {
            Command read;
            read.cdb =
                Cdb({0xBE, 0x04, static_cast<std::uint8_t>(lba >> 24),
                     static_cast<std::uint8_t>(lba >> 16), static_cast<std::uint8_t>(lba >> 8),
                     static_cast<std::uint8_t>(lba), 0, 0, kReadBlocks, 0x10, 0, 0});
            read.direction = DataDirection::FromDevice;
            read.data = reply;
            return drive->Execute(read).Ok();
        },
        [] {});
}

void RawFileRead26(benchmark::State& state) {
    BenchFolder folder;
    DiscImageFile file;
    std::vector<std::uint8_t> data(kWriteBlocks * kBlockBytes, 0x5A);
    bool ok = file.Open(folder.Path() / "raw.bin");
    for (std::uint32_t lba = 0; ok && lba < kTrackBlocks; lba += kWriteBlocks) {
        ok = file.Write(std::uint64_t{lba} * kBlockBytes, data);
    }
    if (!ok) {
        state.SkipWithError("cannot prepare the file");
        return;
    }
    std::vector<std::uint8_t> reply(kReadBlocks * kBlockBytes);
    RunSteps(
        state, kReadBlocks, kTrackBlocks,
        [&](std::uint32_t lba) { return file.Read(std::uint64_t{lba} * kBlockBytes, reply); },
        [] {});
}

BENCHMARK(EmulatedWrite16)->UseRealTime();
BENCHMARK(RawFileWrite16)->UseRealTime();
BENCHMARK(EmulatedReadCd26)->UseRealTime();
BENCHMARK(RawFileRead26)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
