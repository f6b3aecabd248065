// The wave service without a sound card, where capture, takes and the track player do not go:
// calls refused in the callback, overruns, no buffer queued, the header rules, outputs closed
// while busy or lost, WAV files with extra chunks.
#include "platform/wave/PcmFormat.h"
#include "platform/wave/WaveIn.h"
#include "platform/wave/WaveOut.h"
#include "tests/platform/wave/WaveTestSupport.h"
#include "util/WavHeader.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <numeric>
#include <thread>

using namespace platform::wave;
using namespace wavetest;

namespace {

class WaveInTone : public ::testing::Test {
protected:
    testsupport::ScopedEnv m_input{"SONDREL_AUDIO_INPUT", "tone"};
};

TEST_F(WaveInTone, ResetAndCloseFromInsideTheCallbackAreRefused) {
    CaptureClient client(2352);
    client.onFirstBuffer([](HWAVEIN handle) {
        const MMRESULT reset = waveInReset(handle);
        const MMRESULT closed = waveInClose(handle);
        return reset == MMSYSERR_HANDLEBUSY && closed == MMSYSERR_HANDLEBUSY ? MMSYSERR_HANDLEBUSY
                                                                             : MMSYSERR_ERROR;
    });
    ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
    ASSERT_EQ(client.queueAndStart(), MMSYSERR_NOERROR);
    ASSERT_TRUE(client.waitForBuffers(2));
    EXPECT_EQ(client.firstBufferResult(), MMSYSERR_HANDLEBUSY);
    client.resetAndClose();
}

// Plays a script of reads; each read gives the counting signal, going on from
// where the last one ended. After the script: nothing, or endless signal.
class ScriptedSource : public CaptureSource {
public:
    struct Step {
        CaptureStatus status = CaptureStatus::Ok;
        std::uint32_t frames = 0;
    };

    ScriptedSource(std::deque<Step> script, bool endless)
        : m_script(std::move(script)), m_endless(endless) {}

    void Start() override {}
    void Stop() override {}
    CaptureRead Read(std::span<char> out) override {
        // Fast but not spinning: a sound card would hand out a period at a time.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        Step step;
        if (!m_script.empty()) {
            step = m_script.front();
            m_script.pop_front();
        } else if (m_endless) {
            step.frames = 1176;
        }
        const std::vector<char> frames = rampFrames(m_next, step.frames);
        std::copy(frames.begin(), frames.end(), out.begin());
        m_next += step.frames;
        return {step.status, frames.size()};
    }
    [[nodiscard]] std::string Name() const override { return "scripted"; }

private:
    std::deque<Step> m_script;
    bool m_endless = false;
    std::uint32_t m_next = 0;
};

bool waitUntil(const std::function<bool()>& condition) {
    const auto limit = std::chrono::steady_clock::now() + kHangLimit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > limit) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST(WaveInService, OverrunsAreCountedAndTheAudioAroundThemArrives) {
    using S = ScriptedSource::Step;
    std::deque<S> script = {S{CaptureStatus::Ok, 500}, S{CaptureStatus::Overrun, 0},
                            S{CaptureStatus::Ok, 500}, S{CaptureStatus::Overrun, 88},
                            S{CaptureStatus::Ok, 2000 - 1088}};
    CaptureClient client(8000); // 2,000 frames
    ASSERT_EQ(client.openSource(std::make_unique<ScriptedSource>(script, false)), MMSYSERR_NOERROR);
    ASSERT_EQ(client.queueAndStart(), MMSYSERR_NOERROR);
    ASSERT_TRUE(client.waitForBuffers(1));
    EXPECT_EQ(client.stats().overruns, 2u);
    EXPECT_EQ(client.stats().bytesRead, 8000u);
    const auto runs = rampRuns(client.captured(), 1);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].frames, 2000u);
    client.resetAndClose();
}

TEST(WaveInService, WithNoBufferQueuedTheRingKeepsTheOldestAudioAndCountsOneOverflow) {
    CaptureClient client(4704);
    client.holdBuffers();
    ASSERT_EQ(client.openSource(
                  std::make_unique<ScriptedSource>(std::deque<ScriptedSource::Step>{}, true)),
              MMSYSERR_NOERROR);
    // Started with no buffer queued at all.
    ASSERT_EQ(waveInStart(client.handle()), MMSYSERR_NOERROR);
    ASSERT_TRUE(waitUntil([&] { return client.stats().overruns > 0; }));
    // Well past the ring's size: still one overflow, not one per read.
    const std::uint64_t seen = client.stats().bytesRead;
    ASSERT_TRUE(waitUntil([&] { return client.stats().bytesRead > seen + 3 * 37632; }));
    EXPECT_EQ(client.stats().overruns, 1u);

    ASSERT_EQ(client.requeue(), MMSYSERR_NOERROR);
    ASSERT_TRUE(client.waitForBuffers(1));
    const std::vector<char> pcm = client.captured();
    EXPECT_EQ(rampValueAt(pcm, 0), 0); // the first frame ever read
    EXPECT_EQ(rampRuns(pcm, 1).at(0).frames, 1176u);
    client.resetAndClose();
}

TEST(WaveInHeaders, HeadersFollowThePrepareQueueUnprepareRules) {
    testsupport::ScopedEnv input("SONDREL_AUDIO_INPUT", "silence");
    const WAVEFORMATEX format = CdAudioFormat();
    HWAVEIN handle = nullptr;
    ASSERT_EQ(waveInOpen(&handle, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    std::vector<char> data(2352);
    WAVEHDR header;
    header.lpData = data.data();
    header.dwBufferLength = 2352;

    EXPECT_EQ(waveInAddBuffer(handle, &header, sizeof(WAVEHDR)), WAVERR_UNPREPARED);
    EXPECT_EQ(waveInPrepareHeader(handle, &header, sizeof(WAVEHDR) - 1), MMSYSERR_INVALPARAM);
    ASSERT_EQ(waveInPrepareHeader(handle, &header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags & WHDR_PREPARED, WHDR_PREPARED);
    ASSERT_EQ(waveInAddBuffer(handle, &header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags & WHDR_INQUEUE, WHDR_INQUEUE);
    EXPECT_EQ(waveInAddBuffer(handle, &header, sizeof(WAVEHDR)), WAVERR_STILLPLAYING);
    EXPECT_EQ(waveInUnprepareHeader(handle, &header, sizeof(WAVEHDR)), WAVERR_STILLPLAYING);
    EXPECT_EQ(waveInClose(handle), WAVERR_STILLPLAYING);

    // Not started: reset hands the buffer back empty.
    ASSERT_EQ(waveInReset(handle), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags & (WHDR_DONE | WHDR_INQUEUE), WHDR_DONE);
    EXPECT_EQ(header.dwBytesRecorded, 0u);
    EXPECT_EQ(waveInUnprepareHeader(handle, &header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags & WHDR_PREPARED, 0u);
    EXPECT_EQ(waveInClose(handle), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInPrepareHeader(handle, &header, sizeof(WAVEHDR)), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(waveInClose(handle), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(waveInStart(handle), MMSYSERR_INVALHANDLE);
}

constexpr std::size_t kBlockBytes = 4410 * 4; // 0.1 s

std::vector<std::size_t> inOrder(std::size_t count) {
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), 0);
    return order;
}

class WaveOutNull : public ::testing::Test {
protected:
    testsupport::ScopedEnv m_output{"SONDREL_AUDIO_OUTPUT", "null"};
};

TEST_F(WaveOutNull, CloseWithBuffersQueuedIsRefusedUntilReset) {
    PlaybackClient client;
    ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
    ASSERT_EQ(client.playAll(rampFrames(0, 2 * 44100), 176400), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutClose(client.handle()), WAVERR_STILLPLAYING);
    ASSERT_EQ(waveOutReset(client.handle()), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutClose(client.handle()), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutPause(client.handle()), MMSYSERR_INVALHANDLE);
}

TEST(WaveOutFile, AFileInAFolderThatDoesNotExistIsNoDevice) {
    testsupport::ScopedEnv output("SONDREL_AUDIO_OUTPUT", "file:/nonexistent-folder/out.wav");
    PlaybackClient client;
    EXPECT_EQ(client.open(CdAudioFormat()), MMSYSERR_BADDEVICEID);
}

// Takes one slice, then reports the device gone.
class VanishingSink : public PlaybackSink {
public:
    PlaybackWrite Write(std::span<const char> bytes) override {
        if (m_writes++ > 0) {
            return {true, 0};
        }
        const std::size_t taken = std::min<std::size_t>(bytes.size(), 4096);
        m_played += taken / 4;
        return {false, taken};
    }
    std::uint64_t FramesPlayed() override { return m_played; }
    void WaitWhilePlaying() override {}
    void Pause() override {}
    void Resume() override {}
    void Discard() override {}
    [[nodiscard]] std::string Name() const override { return "vanishing"; }

private:
    int m_writes = 0;
    std::uint64_t m_played = 0;
};

TEST(WaveOutLost, BuffersStillComeBackAfterTheDeviceDisappears) {
    PlaybackClient client;
    ASSERT_EQ(client.openSink(std::make_unique<VanishingSink>(), CdAudioFormat()),
              MMSYSERR_NOERROR);
    ASSERT_EQ(client.playChained(rampFrames(0, 4 * 4410), kBlockBytes), MMSYSERR_NOERROR);
    ASSERT_TRUE(client.waitForDone(4));
    EXPECT_EQ(client.doneOrder(), inOrder(4));
    EXPECT_EQ(waveOutClose(client.handle()), MMSYSERR_NOERROR);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::optional<util::WavLayout> layoutOf(const std::filesystem::path& path) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    return file ? util::ReadWavLayout(file.get()) : std::nullopt;
}

TEST(WavHeader, ExtraChunksAreSkippedAndAShortFileIsCut) {
    testsupport::TempFolder dir;
    const std::filesystem::path path = dir.File("b.wav");
    const auto header =
        util::MakeWavHeader(util::kCdAudioWavFormat, 1000); // claims more than follows
    {
        std::ofstream out(path, std::ios::binary);
        out.write(header.data(), 36);
        out.write("LIST\x03\0\0\0abc\0", 12); // odd length, padded
        out.write(header.data() + 36, 8);
        const std::vector<char> pcm = rampFrames(0, 10);
        out.write(pcm.data(), static_cast<std::streamsize>(pcm.size()));
    }
    const auto layout = layoutOf(path);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->dataOffset, 56);
    EXPECT_EQ(layout->dataBytes, 40u);
}

} // namespace
