// Wave output over the null and file outputs and a sink that disappears.

#include "platform/wave/WaveOut.h"
#include "platform/wave/PcmFormat.h"
#include "tests/platform/wave/WaveTestSupport.h"
#include "util/WavHeader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <thread>

using namespace platform::wave;

using namespace wavetest;

namespace {

constexpr std::size_t kBlockBytes = 4410 * 4; // 0.1 s

std::vector<std::size_t> inOrder(std::size_t count) {
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), 0);
    return order;
}

std::uint32_t le32(const std::vector<char>& bytes, std::size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4); // the test machines are little-endian
    return value;
}

class WaveOutNull : public ::testing::Test {
protected:
    ScopedEnv m_output{"SONDREL_AUDIO_OUTPUT", "null"};
};

TEST_F(WaveOutNull, TheNullOutputIsOneDeviceTakingEveryStandardFormat) {
    EXPECT_EQ(waveOutGetNumDevs(), 1u);
    WAVEOUTCAPS caps;
    ASSERT_EQ(waveOutGetDevCaps(0, &caps, sizeof(caps)), MMSYSERR_NOERROR);
    EXPECT_STREQ(caps.szPname, "null");
    EXPECT_EQ(caps.dwFormats & WAVE_FORMAT_1M08, WAVE_FORMAT_1M08);
    EXPECT_EQ(caps.dwFormats & WAVE_FORMAT_4S16, WAVE_FORMAT_4S16);
    EXPECT_EQ(waveOutGetDevCaps(1, &caps, sizeof(caps)), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(waveOutGetDevCaps(0, &caps, sizeof(caps) - 1), MMSYSERR_INVALPARAM);
}

TEST_F(WaveOutNull, BuffersComeBackOnceEachInTheOrderWritten) {
    PlaybackClient client;
    ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
    ASSERT_EQ(client.playAll(rampFrames(0, 8 * 4410), kBlockBytes), MMSYSERR_NOERROR);
    ASSERT_TRUE(client.waitForDone(8));
    EXPECT_EQ(client.doneOrder(), inOrder(8));
    ASSERT_EQ(waveOutClose(client.handle()), MMSYSERR_NOERROR);
    const auto messages = client.messages();
    EXPECT_EQ(messages.front(), MM_WOM_OPEN);
    EXPECT_EQ(messages.back(), MM_WOM_CLOSE);
}

TEST_F(WaveOutNull, TheCallbackCanWriteTheNextBlock) {
    PlaybackClient client;
    ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
    ASSERT_EQ(client.playChained(rampFrames(0, 12 * 4410), kBlockBytes), MMSYSERR_NOERROR);
    ASSERT_TRUE(client.waitForDone(12));
    EXPECT_EQ(client.doneOrder(), inOrder(12));
    EXPECT_EQ(waveOutClose(client.handle()), MMSYSERR_NOERROR);
}

TEST_F(WaveOutNull, NothingPlaysWhilePausedAndRestartGoesOn) {
    PlaybackClient client;
    ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutPause(client.handle()), MMSYSERR_NOERROR);
    ASSERT_EQ(client.playAll(rampFrames(0, 3 * 4410), kBlockBytes), MMSYSERR_NOERROR);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_TRUE(client.doneOrder().empty());
    ASSERT_EQ(waveOutRestart(client.handle()), MMSYSERR_NOERROR);
    ASSERT_TRUE(client.waitForDone(3));
    EXPECT_EQ(client.doneOrder(), inOrder(3));
}

TEST_F(WaveOutNull, ResetReturnsEveryBufferBeforeItReturns) {
    PlaybackClient client;
    ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
    // Five seconds of sound: reset comes long before the end.
    ASSERT_EQ(client.playAll(rampFrames(0, 5 * 44100), 176400), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutReset(client.handle()), MMSYSERR_NOERROR);
    EXPECT_EQ(client.doneOrder(), inOrder(5));
    EXPECT_EQ(waveOutClose(client.handle()), MMSYSERR_NOERROR);
}

TEST_F(WaveOutNull, CloseWithBuffersQueuedIsRefusedUntilReset) {
    PlaybackClient client;
    ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
    ASSERT_EQ(client.playAll(rampFrames(0, 2 * 44100), 176400), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutClose(client.handle()), WAVERR_STILLPLAYING);
    ASSERT_EQ(waveOutReset(client.handle()), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutClose(client.handle()), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutPause(client.handle()), MMSYSERR_INVALHANDLE);
}

TEST_F(WaveOutNull, AReaderAndTheWindowClosingTogetherCloseOnce) {
    // Playback's reader thread closes the output while the window's thread
    // resets and closes it.
    for (int round = 0; round < 20; ++round) {
        PlaybackClient client;
        ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
        ASSERT_EQ(client.playAll(rampFrames(0, 44100), kBlockBytes), MMSYSERR_NOERROR);
        MMRESULT windowClose = MMSYSERR_ERROR;
        MMRESULT readerClose = MMSYSERR_ERROR;
        std::thread window([&] {
            waveOutReset(client.handle());
            windowClose = waveOutClose(client.handle());
        });
        std::thread reader([&] { readerClose = waveOutClose(client.handle()); });
        window.join();
        reader.join();
        EXPECT_EQ((windowClose == MMSYSERR_NOERROR) + (readerClose == MMSYSERR_NOERROR), 1)
            << windowClose << " " << readerClose;
    }
}

TEST_F(WaveOutNull, AnyUsablePcmFormatOpens) {
    WAVEFORMATEX mono8 = CdAudioFormat();
    mono8.nChannels = 1;
    mono8.wBitsPerSample = 8;
    mono8.nBlockAlign = 1;
    mono8.nSamplesPerSec = 11025;
    mono8.nAvgBytesPerSec = 11025;
    HWAVEOUT handle = nullptr;
    ASSERT_EQ(waveOutOpen(&handle, WAVE_MAPPER, &mono8, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutClose(handle), MMSYSERR_NOERROR);
    WAVEFORMATEX twelveBits = CdAudioFormat();
    twelveBits.wBitsPerSample = 12;
    EXPECT_EQ(waveOutOpen(&handle, WAVE_MAPPER, &twelveBits, 0, 0, CALLBACK_NULL),
              WAVERR_BADFORMAT);
}

TEST(WaveOutFile, WhatIsPlayedEndsUpInAWavFileWithItsSizes) {
    TempDir dir;
    const auto path = dir.path() / "played.wav";
    const std::string setting = "file:" + path.string();
    ScopedEnv output("SONDREL_AUDIO_OUTPUT", setting.c_str());
    const std::vector<char> pcm = rampFrames(0, 3 * 4410 + 100);

    for (int round = 0; round < 2; ++round) { // the second round opens the device again
        PlaybackClient client;
        ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
        ASSERT_EQ(client.playAll(pcm, kBlockBytes), MMSYSERR_NOERROR);
        ASSERT_TRUE(client.waitForDone(client.blockCount()));
        ASSERT_EQ(waveOutClose(client.handle()), MMSYSERR_NOERROR);

        const std::vector<char> file = readFile(path);
        ASSERT_EQ(file.size(), util::kWavHeaderBytes + pcm.size());
        EXPECT_EQ(std::memcmp(file.data(), "RIFF", 4), 0);
        EXPECT_EQ(le32(file, 4), file.size() - 8);
        EXPECT_EQ(std::memcmp(file.data() + 8, "WAVEfmt ", 8), 0);
        EXPECT_EQ(le32(file, 24), 44100u);
        EXPECT_EQ(le32(file, 28), 176400u);
        EXPECT_EQ(std::memcmp(file.data() + 36, "data", 4), 0);
        EXPECT_EQ(le32(file, 40), pcm.size());
        EXPECT_TRUE(std::equal(pcm.begin(), pcm.end(), file.begin() + util::kWavHeaderBytes));
    }
}

TEST(WaveOutFile, AFileInAFolderThatDoesNotExistIsNoDevice) {
    ScopedEnv output("SONDREL_AUDIO_OUTPUT", "file:/nonexistent-folder/out.wav");
    PlaybackClient client;
    EXPECT_EQ(client.open(CdAudioFormat()), MMSYSERR_BADDEVICEID);
}

TEST(WaveOutAlsa, AnAlsaDeviceThatDoesNotExistIsNotCountedAndDoesNotOpen) {
    ScopedEnv output("SONDREL_AUDIO_OUTPUT", "alsa:sondrel_no_such_device");
    EXPECT_EQ(waveOutGetNumDevs(), 0u);
    WAVEOUTCAPS caps;
    EXPECT_EQ(waveOutGetDevCaps(0, &caps, sizeof(caps)), MMSYSERR_BADDEVICEID);
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

} // namespace
