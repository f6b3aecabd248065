// Wave input over the virtual tone input: the capture callback's contract
// (one buffer queued again from inside the callback), continuity, reset and
// close.

#include "platform/wave/PcmFormat.h"
#include "platform/wave/ToneSource.h"
#include "platform/wave/WaveIn.h"
#include "tests/platform/wave/WaveTestSupport.h"

#include <gtest/gtest.h>

#include <thread>

using namespace platform::wave;

using namespace wavetest;

namespace {

// Index of the first frame whose samples differ from the tone, or the frame count.
std::size_t firstToneMismatch(const std::vector<char>& pcm) {
    const std::size_t frames = pcm.size() / 4;
    for (std::size_t frame = 0; frame < frames; ++frame) {
        for (unsigned channel = 0; channel < 2; ++channel) {
            const std::size_t at = frame * 4 + channel * 2;
            const auto value = static_cast<std::int16_t>(
                static_cast<std::uint16_t>(static_cast<unsigned char>(pcm[at]) |
                                           (static_cast<unsigned char>(pcm[at + 1]) << 8)));
            if (value != ToneSource::Sample(frame, channel)) {
                return frame;
            }
        }
    }
    return frames;
}

class WaveInTone : public ::testing::Test {
protected:
    ScopedEnv m_input{"SONDREL_AUDIO_INPUT", "tone"};
};

TEST_F(WaveInTone, ToneSamplesAreTheTwoSines) {
    EXPECT_EQ(ToneSource::Sample(0, 0), 0);
    EXPECT_EQ(ToneSource::Sample(0, 1), 0);
    // A quarter period of 440 Hz at 44,100 Hz is 25.06 frames: near the peak.
    EXPECT_GT(ToneSource::Sample(25, 0), 16300);
    // Both phases repeat every 44,100 frames (one second).
    EXPECT_EQ(ToneSource::Sample(44100 + 7, 0), ToneSource::Sample(7, 0));
    EXPECT_EQ(ToneSource::Sample(44100 + 7, 1), ToneSource::Sample(7, 1));
}

TEST_F(WaveInTone, ManySmallBuffersQueuedAgainInTheCallbackAreContinuous) {
    CaptureClient client(2352);
    ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
    ASSERT_EQ(client.queueAndStart(), MMSYSERR_NOERROR);
    ASSERT_TRUE(client.waitForBuffers(150));
    client.resetAndClose();

    const std::vector<char> pcm = client.captured();
    ASSERT_GE(pcm.size(), 150u * 2352);
    EXPECT_EQ(firstToneMismatch(pcm), pcm.size() / 4);
    EXPECT_EQ(client.stats().overruns, 0u);
}

TEST_F(WaveInTone, ABufferQueuedLateFromAnotherThreadMissesNothing) {
    CaptureClient client(4704);
    client.holdBuffers();
    ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
    ASSERT_EQ(client.queueAndStart(), MMSYSERR_NOERROR);
    for (std::size_t n = 1; n <= 40; ++n) {
        ASSERT_TRUE(client.waitForBuffers(n));
        if (n % 10 == 0) {
            // A late re-queue: the ring holds what arrives meanwhile.
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
        }
        ASSERT_EQ(client.requeue(), MMSYSERR_NOERROR);
    }
    client.resetAndClose();

    const std::vector<char> pcm = client.captured();
    EXPECT_EQ(firstToneMismatch(pcm), pcm.size() / 4);
    EXPECT_EQ(client.stats().overruns, 0u);
}

TEST_F(WaveInTone, ResetReturnsTheBufferWithWhatWasRecorded) {
    CaptureClient client;
    ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
    ASSERT_EQ(client.queueAndStart(), MMSYSERR_NOERROR);
    ASSERT_TRUE(client.waitForBuffers(1));
    client.stopRequeue();
    ASSERT_EQ(waveInReset(client.handle()), MMSYSERR_NOERROR);

    // Reset waits for the buffer: it is back when reset returns.
    const auto sizes = client.bufferSizes();
    ASSERT_GE(sizes.size(), 2u);
    EXPECT_LE(sizes.back(), 37632u);
    EXPECT_EQ(sizes.back() % 4, 0u);
    const std::vector<char> pcm = client.captured();
    EXPECT_EQ(firstToneMismatch(pcm), pcm.size() / 4);
    ASSERT_EQ(waveInClose(client.handle()), MMSYSERR_NOERROR);
}

TEST_F(WaveInTone, CloseWithABufferQueuedIsRefusedUntilReset) {
    CaptureClient client;
    ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
    ASSERT_EQ(client.queueAndStart(), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInClose(client.handle()), WAVERR_STILLPLAYING);
    client.stopRequeue();
    EXPECT_EQ(waveInReset(client.handle()), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInClose(client.handle()), MMSYSERR_NOERROR);
    // The handle is gone now.
    EXPECT_EQ(waveInClose(client.handle()), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(waveInStart(client.handle()), MMSYSERR_INVALHANDLE);
}

TEST_F(WaveInTone, NoDataCallbackAfterResetAndCloseAndCloseIsTheLastMessage) {
    CaptureClient client(2352);
    ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
    ASSERT_EQ(client.queueAndStart(), MMSYSERR_NOERROR);
    ASSERT_TRUE(client.waitForBuffers(5));
    client.resetAndClose();
    const std::size_t buffersAtClose = client.bufferSizes().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));

    EXPECT_EQ(client.bufferSizes().size(), buffersAtClose);
    const auto messages = client.messages();
    ASSERT_GE(messages.size(), 3u);
    EXPECT_EQ(messages.front(), MM_WIM_OPEN);
    EXPECT_EQ(messages.back(), MM_WIM_CLOSE);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), MM_WIM_CLOSE), 1);
}

TEST_F(WaveInTone, TheDeviceOpensAgainAfterClose) {
    for (int round = 0; round < 3; ++round) {
        CaptureClient client(2352);
        ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR) << "round " << round;
        ASSERT_EQ(client.queueAndStart(), MMSYSERR_NOERROR);
        ASSERT_TRUE(client.waitForBuffers(2));
        client.resetAndClose();
        // Every open starts the tone from its first frame.
        const std::vector<char> pcm = client.captured();
        EXPECT_EQ(firstToneMismatch(pcm), pcm.size() / 4);
    }
}

TEST_F(WaveInTone, StartAgainAfterResetGoesOn) {
    CaptureClient client(2352);
    ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
    ASSERT_EQ(client.queueAndStart(), MMSYSERR_NOERROR);
    ASSERT_TRUE(client.waitForBuffers(3));
    ASSERT_EQ(waveInReset(client.handle()), MMSYSERR_NOERROR);
    // The callback queued the buffer again after the reset; it waits for a start.
    const std::size_t afterReset = client.bufferSizes().size();
    ASSERT_EQ(waveInStart(client.handle()), MMSYSERR_NOERROR);
    ASSERT_TRUE(client.waitForBuffers(afterReset + 3));
    client.resetAndClose();
}

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

TEST_F(WaveInTone, TwoThreadsClosingTheSameHandleCloseItOnce) {
    CaptureClient client(2352);
    ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
    ASSERT_EQ(client.queueAndStart(), MMSYSERR_NOERROR);
    ASSERT_TRUE(client.waitForBuffers(2));
    client.stopRequeue();
    ASSERT_EQ(waveInReset(client.handle()), MMSYSERR_NOERROR);
    MMRESULT first = MMSYSERR_ERROR;
    MMRESULT second = MMSYSERR_ERROR;
    std::thread a([&] { first = waveInClose(client.handle()); });
    std::thread b([&] { second = waveInClose(client.handle()); });
    a.join();
    b.join();
    EXPECT_EQ((first == MMSYSERR_NOERROR) + (second == MMSYSERR_NOERROR), 1);
    EXPECT_EQ((first == MMSYSERR_INVALHANDLE) + (second == MMSYSERR_INVALHANDLE), 1);
}

} // namespace
