// Playback through ALSA's "pulse" device to the private server of with-pulse.sh, recorded
// from the monitor of its null sink rec_sink.
#include "platform/wave/CaptureDevices.h"
#include "platform/wave/PcmFormat.h"
#include "platform/wave/WaveIn.h"
#include "platform/wave/WaveOut.h"
#include "tests/platform/wave/WaveTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <thread>

using namespace platform::wave;

extern char** environ;

using namespace wavetest;

namespace {

constexpr std::uint32_t kSignalFrames = 4 * 44100;
// The server itself may lose the first moments of a stream that starts on an
// idle sink; the rest must arrive without a gap.
constexpr std::size_t kMinimumFrames = kSignalFrames * 9 / 10;
constexpr std::size_t kBlockBytes = 88200; // half a second

pid_t spawn(const std::vector<std::string>& args, const std::string& stdoutPath = {}) {
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!stdoutPath.empty()) {
        posix_spawn_file_actions_addopen(&actions, 1, stdoutPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    pid_t pid = -1;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? pid : -1;
}

int waitExit(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Waits until the value has grown by at least that much (the server has
// delivered what came before), with the usual bound against a hang.
void waitForGrowth(const std::function<std::uint64_t()>& value, std::uint64_t growth) {
    const auto limit = std::chrono::steady_clock::now() + kHangLimit;
    const std::uint64_t target = value() + growth;
    while (value() < target && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::size_t lastValue(const RampRun& run) {
    return (static_cast<std::size_t>(run.firstValue) + run.frames - 1) & 0xFFFF;
}

void expectWholeSignal(const std::vector<char>& pcm) {
    const auto runs = rampRuns(pcm, 64);
    ASSERT_EQ(runs.size(), 1u) << "the signal arrived in pieces";
    EXPECT_GE(runs[0].frames, kMinimumFrames);
    EXPECT_EQ(lastValue(runs[0]), (kSignalFrames - 1) & 0xFFFF);
}

TEST(PulseCapture, TheServersDeviceIsListed) {
    const auto devices =
        ListCaptureDevices(BackendChoice::Parse("alsa:pulse", WaveDirection::Input));
    EXPECT_TRUE(std::any_of(devices.begin(), devices.end(),
                            [](const CaptureDevice& d) { return d.name == "alsa:pulse"; }));
}

// Plays the signal through our wave output in blocks of half a second while
// parec records the sink's monitor; returns what parec recorded.
std::vector<char> playAndRecord() {
    testsupport::ScopedEnv output("SONDREL_AUDIO_OUTPUT", "alsa:pulse");
    EXPECT_EQ(waveOutGetNumDevs(), 1u);
    testsupport::TempFolder dir;
    const std::filesystem::path recorded = dir.File("recorded.raw");
    const pid_t recorder = spawn({"parec", "--raw", "--format=s16le", "--rate=44100",
                                  "--channels=2", "--latency-msec=20", "--device=rec_sink.monitor"},
                                 recorded.string());
    EXPECT_GT(recorder, 0);
    // Let the recorder connect before the sound starts.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    PlaybackClient client;
    EXPECT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
    const std::vector<char> signal = rampFrames(0, kSignalFrames);
    EXPECT_EQ(client.playAll(signal, kBlockBytes), MMSYSERR_NOERROR);
    EXPECT_TRUE(client.waitForDone(client.blockCount()));
    EXPECT_EQ(waveOutClose(client.handle()), MMSYSERR_NOERROR);

    waitForGrowth(
        [&] {
            std::error_code ignored;
            return static_cast<std::uint64_t>(std::filesystem::file_size(recorded, ignored));
        },
        176400);
    kill(recorder, SIGINT);
    waitExit(recorder);
    return readFile(recorded);
}

TEST(PulsePlayback, BuffersQueuedAheadReachTheServerWholeAndContinuous) {
    expectWholeSignal(playAndRecord());
}

} // namespace
