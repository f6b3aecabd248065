// The CD writer against an emulated writer (at unlimited speed unless said),
// with the program's own queue and writer pauses:
//   BM_DirectWrite        the peer: one 16-sector WRITE straight to the drive;
//   BM_CaptureToDrive     the delay from a buffer entering the CD queue to its
//                         WRITE reaching the drive (median, 99th percentile,
//                         max), with buffers put in every 213 ms against the
//                         benchmark's own clock, as capture delivers them in a
//                         take, whatever the writer is doing;
//   BM_QueueDuringStall   what the CD queue holds per second of sound while
//                         the drive answers "long write in progress";
//   BM_EightyMinuteTake   80 minutes of sound pushed through a writer onto a
//                         blank 80-minute disc: exactly the usable sectors
//                         are written and the writer reports a full disc;
//   BM_TakeAt1x           a take arriving at the pace of capture onto a 52x
//                         writer without underrun protection, which the
//                         writer slows to 1x: the sectors written per sector
//                         captured with a 64 KiB drive buffer, against the
//                         peer run with a 2 MiB buffer.
//   BM_SplitTake          a take split on silence at the pace of capture
//                         (sound, a silence that ends the track, sound): the
//                         CD queue's high-water mark and the capture-to-disc
//                         delay while the writer closes the track and opens
//                         the next, at 1x and at 52x, each against the peer
//                         run of the same sound without splitting.
#include "bench/BenchQuick.h"
#include "components/quarnel/device/CDevCmdRW.h"
#include "components/quarnel/emu/DriveFolders.h"
#include "components/quarnel/emu/DriveSettingsFile.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/emu/SteadyClock.h"
#include "engine/RecordingState.h"
#include "engine/session/CdTrackWriter.h"
#include "engine/session/SessionState.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint8_t kWriteOpcode = 0x2A;

// Passes commands on to the emulated drive and notes when each WRITE arrives
// together with the stamp in its first eight data bytes (none when they are 0).
class StampingTransport final : public quarnel::Transport {
public:
    explicit StampingTransport(std::unique_ptr<quarnel::emu::EmulatedDrive> drive)
        : m_drive(std::move(drive)) {}
    quarnel::CommandOutcome Execute(const quarnel::Command& command) override {
        if (command.cdb.bytes[0] == kWriteOpcode && command.data.size() >= sizeof(std::int64_t)) {
            std::int64_t stamp = 0;
            std::memcpy(&stamp, command.data.data(), sizeof(stamp));
            if (stamp != 0) {
                const std::int64_t delayNs = Clock::now().time_since_epoch().count() - stamp;
                m_lastDelayNs.store(delayNs);
                const std::lock_guard<std::mutex> lock(m_delaysMutex);
                m_delaysNs.push_back(delayNs);
            }
            m_writes.fetch_add(1);
        }
        return m_drive->Execute(command);
    }
    [[nodiscard]] std::string Name() const override { return m_drive->Name(); }
    quarnel::emu::EmulatedDrive& Drive() { return *m_drive; }

    // Every stamped WRITE's delay, in arrival order.
    std::vector<std::int64_t> DelaysNs() {
        const std::lock_guard<std::mutex> lock(m_delaysMutex);
        return m_delaysNs;
    }

    std::atomic<std::int64_t> m_lastDelayNs{0};
    std::atomic<std::uint64_t> m_writes{0};

private:
    std::unique_ptr<quarnel::emu::EmulatedDrive> m_drive;
    std::mutex m_delaysMutex;
    std::vector<std::int64_t> m_delaysNs;
};

class BenchView final : public engine::ISessionView {
public:
    explicit BenchView(quarnel::CDevCmdROM* device) : m_device(device) {}
    bool IsToFileChecked() override { return false; }
    std::string OutputPathText() override { return {}; }
    bool IsCloseDiscChecked() override { return false; }
    int RecordSourceCount() override { return 1; }
    quarnel::CDevCmdROM* CurrentDevice() override { return m_device; }
    void ShowTime(const std::string& /*text*/) override {}
    void ShowLength(const std::string& /*text*/) override {}
    void SetCapacityRange(int /*low*/, int /*high*/) override {}
    void SetCapacityPos(int /*pos*/) override {}
    void SetControlsRecording(bool /*recording*/) override {}
    void StartRecordTimer(unsigned /*periodMs*/) override {}
    void KillRecordTimer() override {}
    void StopPlayback() override {}
    void EndMainDialog() override {}

private:
    quarnel::CDevCmdROM* m_device = nullptr;
};

using AdjustDrive = std::function<void(quarnel::emu::DriveSettings&)>;

// A fresh emulated writer holding a blank CD-R, and a writer prepared for a
// take on it. Without `adjust` the drive writes at unlimited speed, also
// after the writer asked for its lowest.
struct Rig {
    // capacityBlocks 0: the disc's usual 80 minutes.
    explicit Rig(std::uint32_t capacityBlocks = 0, const AdjustDrive& adjust = {},
                 SessionPauses pauses = {}) {
        namespace emu = quarnel::emu;
        folder = std::filesystem::temp_directory_path() /
                 ("sondrel-bench-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        const std::filesystem::path driveFolder = emu::CreateDriveFolder(folder, "bench", 0);
        const std::filesystem::path settingsFile = driveFolder / emu::kDriveSettingsFileName;
        emu::DriveSettings settings = *emu::LoadDriveSettings(settingsFile);
        settings.writeSpeedX = 0;
        if (adjust) {
            adjust(settings);
        }
        const bool saved = emu::SaveDriveSettings(settingsFile, settings);
        auto drive = emu::EmulatedDrive::Open(driveFolder, std::make_shared<emu::SteadyClock>());
        drive->LoadBlank(emu::MediumKind::CdR, capacityBlocks);
        auto stamping = std::make_unique<StampingTransport>(std::move(drive));
        transport = stamping.get();
        device = std::make_unique<quarnel::CDevCmdRW>(std::move(stamping), 3);
        view = std::make_unique<BenchView>(device.get());
        writer = std::make_unique<engine::CdTrackWriter>(*view, pauses, recorded);
        g_cdQueue.Reset();
        ready = saved && writer->PrepareCdRecording();
        if (!adjust) {
            transport->Drive().SetMaxWriteSpeed(0);
        }
        g_notRecording.store(false);
    }
    ~Rig() {
        g_notRecording.store(true);
        g_cdQueue.SetStop(true);
        if (thread.joinable()) {
            thread.join();
        }
        g_cdQueue.Reset();
        writer.reset();
        view.reset();
        device.reset();
        std::filesystem::remove_all(folder);
    }
    void StartWriter() {
        thread = std::thread([this] {
            ending = writer->WriteTrack();
            // Release: the ending is written before the flag is seen set.
            writerDone.store(true, std::memory_order_release);
        });
    }

    std::filesystem::path folder;
    StampingTransport* transport = nullptr;
    std::unique_ptr<quarnel::CDevCmdRW> device;
    std::unique_ptr<BenchView> view;
    std::atomic<std::int32_t> recorded{0};
    std::unique_ptr<engine::CdTrackWriter> writer;
    bool ready = false;
    std::thread thread;
    std::atomic<bool> writerDone{false};
    engine::CdTrackWriter::Ending ending = engine::CdTrackWriter::Ending::Stopped;
};

std::vector<std::uint8_t> StampedBuffer() {
    std::vector<std::uint8_t> buffer(kCaptureBufferBytes, 0x5A);
    const std::int64_t now = Clock::now().time_since_epoch().count();
    std::memcpy(buffer.data(), &now, sizeof(now));
    return buffer;
}

void BM_DirectWrite(benchmark::State& state) {
    Rig rig;
    unsigned long address = 0;
    rig.device->GetNextWriteAdd(address);
    std::vector<double> delays;
    for (auto _ : state) {
        std::vector<std::uint8_t> buffer = StampedBuffer();
        rig.device->Write(static_cast<long>(address), buffer.data(), kCaptureBufferBytes, 16);
        address += 16;
        delays.push_back(static_cast<double>(rig.transport->m_lastDelayNs.load()) / 1e6);
    }
    std::sort(delays.begin(), delays.end());
    state.counters["median_ms"] = delays[delays.size() / 2];
    state.counters["max_ms"] = delays.back();
}
BENCHMARK(BM_DirectWrite)->Iterations(BenchIterations(200));

// A buffer every 213 ms, as capture delivers them in a take, once the writer
// has written the second of sound it starts with: each is put in at its own
// time on the benchmark's clock (start + n * 213 ms), never after waiting for
// the previous WRITE, so the writer's 50 ms look at the queue shows in the
// delays as it does live. Each iteration is one buffer.
void BM_CaptureToDrive(benchmark::State& state) {
    Rig rig;
    if (!rig.ready) {
        state.SkipWithError("the writer could not be prepared");
        return;
    }
    rig.StartWriter();
    std::vector<std::uint8_t> reserve(engine::CdTrackWriter::kStartReserveBytes);
    g_cdQueue.PutData(reserve.data(), engine::CdTrackWriter::kStartReserveBytes);
    const std::uint64_t reserveWrites =
        engine::CdTrackWriter::kStartReserveBytes / kCaptureBufferBytes;
    while (rig.transport->m_writes.load() < reserveWrites) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const std::size_t reserveDelays = rig.transport->DelaysNs().size();
    const auto bufferPeriod = std::chrono::microseconds(
        static_cast<std::int64_t>(1e6 * kCaptureBufferBytes / (44100.0 * 4)));
    const auto start = Clock::now();
    std::uint64_t put = 0;
    for (auto _ : state) {
        std::this_thread::sleep_until(start + put * bufferPeriod);
        std::vector<std::uint8_t> buffer = StampedBuffer();
        g_cdQueue.PutData(buffer.data(), kCaptureBufferBytes);
        ++put;
    }
    // The last buffers reach the drive within the writer's pause.
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (rig.transport->m_writes.load() < reserveWrites + put && Clock::now() < deadline &&
           !rig.writerDone.load(std::memory_order_acquire)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::vector<std::int64_t> delaysNs = rig.transport->DelaysNs();
    // The reserve's buffers carry no time stamp.
    delaysNs.erase(delaysNs.begin(), delaysNs.begin() + static_cast<std::ptrdiff_t>(reserveDelays));
    if (delaysNs.size() < put) {
        state.SkipWithError("not every buffer reached the drive");
        return;
    }
    std::sort(delaysNs.begin(), delaysNs.end());
    const auto ms = [](std::int64_t ns) { return static_cast<double>(ns) / 1e6; };
    state.counters["median_ms"] = ms(delaysNs[delaysNs.size() / 2]);
    state.counters["p99_ms"] =
        ms(delaysNs[std::min(delaysNs.size() - 1, delaysNs.size() * 99 / 100)]);
    state.counters["max_ms"] = ms(delaysNs.back());
}
BENCHMARK(BM_CaptureToDrive)->Iterations(BenchIterations(40))->Unit(benchmark::kMillisecond);

// The drive stays busy for the whole run; 60 seconds of sound arrive (as
// fast as they can be put). Reports the queue's bytes per second of sound
// against the sound's own 176,400 bytes per second.
void BM_QueueDuringStall(benchmark::State& state) {
    constexpr int kSeconds = 60;
    constexpr std::uint64_t kSoundBytesPerSecond = 176400;
    const std::uint64_t buffers = kSeconds * kSoundBytesPerSecond / kCaptureBufferBytes;
    SessionPauses pauses;
    pauses.busyDeadlineMs = 5000; // ends the writer soon after the run
    for (auto _ : state) {
        Rig rig(0, {}, pauses);
        quarnel::emu::FaultPlan faults = rig.transport->Drive().Faults();
        faults.longWriteAttempts = 1'000'000;
        rig.transport->Drive().SetFaults(faults);
        rig.StartWriter();
        std::vector<std::uint8_t> buffer(kCaptureBufferBytes);
        for (std::uint64_t i = 0; i < buffers; ++i) {
            g_cdQueue.PutData(buffer.data(), kCaptureBufferBytes);
        }
        const double held = static_cast<double>(g_cdQueue.GetBlockCount()) * CDataList::kBlockBytes;
        state.counters["queue_bytes_per_s"] = held / kSeconds;
        state.counters["ratio_to_sound"] = held / kSeconds / kSoundBytesPerSecond;
    }
}
BENCHMARK(BM_QueueDuringStall)->Iterations(BenchIterations(1))->Unit(benchmark::kMillisecond);

// 80 minutes of sound through the writer at unlimited drive speed, the
// producer keeping at most 8 MiB waiting. In quick mode the disc holds six
// minutes (its usable part beyond the lead-out reserve): the same path to a
// full disc, without writing 800 MB.
void BM_EightyMinuteTake(benchmark::State& state) {
    constexpr std::uint64_t kMaxWaitingBytes = 8u << 20;
    constexpr double kEightyMinutesS = 80.0 * 60.0;
    const std::uint32_t capacityBlocks = BenchQuick() ? 6 * 60 * 75 : 0;
    for (auto _ : state) {
        Rig rig(capacityBlocks);
        if (!rig.ready) {
            state.SkipWithError("the writer could not be prepared");
            return;
        }
        const std::uint32_t usable = g_discFree.load();
        const auto start = Clock::now();
        rig.StartWriter();
        std::vector<std::uint8_t> buffer(kCaptureBufferBytes, 0x11);
        const std::uint64_t buffers = static_cast<std::uint64_t>(kEightyMinutesS * 75 / 16) + 1;
        // The writer thread ends by itself when the disc is full (or on a
        // failure): from then on nothing drains the queue, so the producer
        // stops as soon as it sees the writer gone.
        const auto writerGone = [&rig] { return rig.writerDone.load(std::memory_order_acquire); };
        for (std::uint64_t i = 0; i < buffers && !writerGone(); ++i) {
            while (g_cdQueue.GetWaitingBytes() > kMaxWaitingBytes && !writerGone()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            g_cdQueue.PutData(buffer.data(), kCaptureBufferBytes);
        }
        g_cdQueue.SetStop(true);
        rig.thread.join();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.counters["usable_sectors"] = usable;
        state.counters["written_sectors"] = rig.recorded.load();
        state.counters["disc_full"] = rig.ending == engine::CdTrackWriter::Ending::DiscFull ? 1 : 0;
        state.counters["speed_x_real_time"] = (rig.recorded.load() / 75.0) / seconds;
    }
}
BENCHMARK(BM_EightyMinuteTake)->Iterations(BenchIterations(1))->Unit(benchmark::kSecond);

// Twenty seconds of sound at the pace of capture (a buffer every 213 ms) onto
// a 52x writer without underrun protection with a drive buffer of
// state.range(0) KiB; the writer lowers the speed to 1x.
void BM_TakeAt1x(benchmark::State& state) {
    const int kBuffers = BenchQuick() ? 10 : 94; // 20 s; 2 s in quick mode
    constexpr auto kBufferPeriod = std::chrono::microseconds(213'333);
    const auto bufferKib = static_cast<std::uint32_t>(state.range(0));
    for (auto _ : state) {
        Rig rig(0, [bufferKib](quarnel::emu::DriveSettings& settings) {
            settings.writeSpeedX = 52;
            settings.capabilities.underrunProtection = false;
            settings.bufferKib = bufferKib;
        });
        if (!rig.ready) {
            state.SkipWithError("the writer could not be prepared");
            return;
        }
        rig.StartWriter();
        std::vector<std::uint8_t> buffer(kCaptureBufferBytes, 0x33);
        auto next = Clock::now();
        for (int i = 0; i < kBuffers && rig.thread.joinable(); ++i) {
            g_cdQueue.PutData(buffer.data(), kCaptureBufferBytes);
            next += kBufferPeriod;
            std::this_thread::sleep_until(next);
        }
        g_cdQueue.SetStop(true);
        rig.thread.join();
        const double captured = kBuffers * 16.0;
        state.counters["written_per_captured_sector"] = rig.recorded.load() / captured;
        state.counters["underrun"] =
            rig.ending == engine::CdTrackWriter::Ending::CannotKeepUp ? 1 : 0;
    }
}
BENCHMARK(BM_TakeAt1x)->Arg(64)->Arg(2048)->Iterations(1)->Unit(benchmark::kSecond);

// A take of loud buffers, silent ones and loud ones again, one every 213 ms
// on the benchmark's clock, with splitting on (state.range(1) == 1) or off,
// onto a writer at state.range(0)x. The loud buffers carry their time stamp.
// The figures leave out the start, where the writer waits for its reserve of
// five buffers whether it splits or not.
void BM_SplitTake(benchmark::State& state) {
    const auto speedX = static_cast<std::uint32_t>(state.range(0));
    const bool split = state.range(1) == 1;
    const int loudBefore = BenchQuick() ? 20 : 24; // 4.3 s (5.1 s): past the shortest track
    const int silent = BenchQuick() ? 3 : 8;       // 0.64 s (1.7 s) of silence
    const int loudAfter = BenchQuick() ? 4 : 24;
    constexpr auto kBufferPeriod = std::chrono::microseconds(213'333);
    constexpr int kReserveBuffers = engine::CdTrackWriter::kStartReserveBytes / kCaptureBufferBytes;
    engine::SplitSettings settings;
    settings.enabled = split;
    settings.silenceSeconds = BenchQuick() ? 0.5 : 1.0;
    settings.minTrackSeconds = 4.0;
    for (auto _ : state) {
        Rig rig(0, [speedX](quarnel::emu::DriveSettings& drive) { drive.writeSpeedX = speedX; });
        if (!rig.ready) {
            state.SkipWithError("the writer could not be prepared");
            return;
        }
        rig.transport->Drive().SetMaxWriteSpeed(speedX); // over the writer's lowest speed
        rig.writer->SetSplit(settings);
        const std::uint32_t firstTrack = g_trackNumber.load();
        rig.StartWriter();
        std::uint64_t highWaterBytes = 0;
        auto next = Clock::now();
        for (int i = 0; i < loudBefore + silent + loudAfter; ++i) {
            const bool loud = i < loudBefore || i >= loudBefore + silent;
            std::vector<std::uint8_t> buffer =
                loud ? StampedBuffer() : std::vector<std::uint8_t>(kCaptureBufferBytes);
            g_cdQueue.PutData(buffer.data(), kCaptureBufferBytes);
            if (i >= kReserveBuffers) { // the writer has begun: the start reserve is spent
                highWaterBytes = std::max(highWaterBytes, g_cdQueue.GetWaitingBytes());
            }
            next += kBufferPeriod;
            std::this_thread::sleep_until(next);
        }
        g_cdQueue.SetStop(true);
        rig.thread.join();
        // The first buffers wait for the start reserve, split or not.
        std::vector<std::int64_t> delaysNs = rig.transport->DelaysNs();
        delaysNs.erase(delaysNs.begin(),
                       delaysNs.begin() +
                           std::min<std::ptrdiff_t>(kReserveBuffers, std::ssize(delaysNs)));
        std::sort(delaysNs.begin(), delaysNs.end());
        state.counters["tracks"] = g_trackNumber.load() - firstTrack + 1;
        state.counters["high_water_s"] = static_cast<double>(highWaterBytes) / kPcmBytesPerSecond;
        state.counters["median_delay_ms"] =
            delaysNs.empty() ? 0 : static_cast<double>(delaysNs[delaysNs.size() / 2]) / 1e6;
        state.counters["max_delay_ms"] =
            delaysNs.empty() ? 0 : static_cast<double>(delaysNs.back()) / 1e6;
    }
}
BENCHMARK(BM_SplitTake)
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({52, 0})
    ->Args({52, 1})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
