// Capture and dispatch over the real wave-in service with the virtual tone
// input: which sink gets the buffers, the WAV file of a take, and closing.

#include "engine/Capture.h"
#include "engine/RecordingState.h"
#include "engine/WavHeader.h"
#include "platform/wave/WaveIn.h"
#include "tests/engine/capture/CaptureFixture.h"
#include "util/Environment.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace {

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::uint32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

class CaptureTone : public CaptureFixture {
protected:
    std::uint32_t FinishAndCheckWavTake(const std::string& path);
    std::uint32_t m_overruns = 0;
};

TEST_F(CaptureTone, WithoutATakeBuffersReachTheRingOnly) {
    const std::string path = m_folder.File("idle.wav");
    ASSERT_TRUE(CreateWavFile(path));
    // Every sink field is set for a WAV take, but no take runs.
    PrepareWavSink(path);
    ASSERT_TRUE(g_wavFile.IsOpen());

    Open();
    ASSERT_NE(g_hWaveIn, nullptr);
    EXPECT_FALSE(g_captureClosing.load());
    WaitForBuffers(4);
    WaitUntil([this] { return m_display.BlocksRead() >= 2; }, "display reads");
    EXPECT_EQ(Close(), MMSYSERR_NOERROR);

    EXPECT_EQ(ReadBytes(path).size(), kTakeWavHeaderBytes);
    EXPECT_EQ(g_wavBytesWritten.load(), 0u);
    EXPECT_EQ(g_mp3Queue.GetWaitingBytes(), 0u);
    EXPECT_EQ(g_cdQueue.GetWaitingBytes(), 0u);
    EXPECT_EQ(m_messages.ShownCount(), 0u);
    EXPECT_TRUE(m_display.Returned());
    EXPECT_TRUE(m_display.StopShowCalled());
}

// Ends the running WAV take, closes capture and checks the file: whole buffers,
// patched sizes, and PCM that is the tone without a gap; returns the buffers.
std::uint32_t CaptureTone::FinishAndCheckWavTake(const std::string& path) {
    EndTake();
    g_wavFile.Close();
    EXPECT_TRUE(PatchWavSizes(path));
    const std::uint64_t delivered = BuffersDelivered();
    WaveInStats stats;
    EXPECT_EQ(waveInGetStats(g_hWaveIn, &stats), MMSYSERR_NOERROR);
    m_overruns = stats.overruns;
    Close();

    const std::uint32_t pcmBytes = g_wavBytesWritten.load();
    EXPECT_EQ(pcmBytes % kCaptureBufferBytes, 0u);
    const std::uint32_t buffers = pcmBytes / kCaptureBufferBytes;
    const std::vector<std::uint8_t> file = ReadBytes(path);
    EXPECT_EQ(file.size(), kTakeWavHeaderBytes + std::uint64_t{37632} * buffers);
    if (file.size() < kTakeWavHeaderBytes) {
        return 0;
    }
    EXPECT_EQ(Le32(file, 4), file.size() - 8);
    EXPECT_EQ(Le32(file, 76), pcmBytes);
    const std::vector<std::uint8_t> pcm(file.begin() + kTakeWavHeaderBytes, file.end());
    EXPECT_GE(FindToneStart(pcm, delivered), 2) << "the PCM is not the tone, continuous";
    return buffers;
}

// A take as long as a real one (SONDREL_LONG_TAKE_SECONDS, e.g. 600): the tone
// is paced in real time, so this runs that long and is left out of normal runs.
TEST_F(CaptureTone, ALongWavTakeArrivesWholeAndContinuous) {
    const std::string seconds = util::EnvironmentValue("SONDREL_LONG_TAKE_SECONDS");
    if (seconds.empty()) {
        GTEST_SKIP() << "set SONDREL_LONG_TAKE_SECONDS to run a take of that length";
    }
    const std::string path = m_folder.File("long.wav");
    Open();
    WaitForBuffers(2);
    ASSERT_TRUE(CreateWavFile(path));
    StartWavTake(path);
    std::this_thread::sleep_for(std::chrono::seconds(std::stoi(seconds)));
    const std::uint32_t buffers = FinishAndCheckWavTake(path);
    // 176,400 bytes a second; allow one buffer at each end of the take.
    EXPECT_GE(std::uint64_t{buffers} * kCaptureBufferBytes + 2 * kCaptureBufferBytes,
              std::uint64_t{176400} * std::stoul(seconds));
    EXPECT_EQ(m_overruns, 0u) << "audio was lost in the wave service";
}

TEST_F(CaptureTone, ATakeStoppedBeforeItsFirstBufferKeepsThePlaceholders) {
    const std::string path = m_folder.File("empty.wav");
    ASSERT_TRUE(CreateWavFile(path));
    PrepareWavSink(path);
    ASSERT_TRUE(g_wavFile.IsOpen());
    // Started and stopped while capture delivers nothing.
    g_notRecording.store(false);
    g_notRecording.store(true);
    g_wavFile.Close();
    ASSERT_TRUE(PatchWavSizes(path));

    const std::vector<std::uint8_t> file = ReadBytes(path);
    ASSERT_EQ(file.size(), kTakeWavHeaderBytes);
    EXPECT_EQ(Le32(file, 4), kWavPlaceholderRiffBytes);
    EXPECT_EQ(Le32(file, 76), kWavPlaceholderDataBytes);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(file.begin() + 72, file.begin() + 76), "data");
}

TEST_F(CaptureTone, AWavPathInAMissingFolderLosesTheSoundButCounts) {
    const std::string path = m_folder.File("missing/take.wav");
    EXPECT_FALSE(CreateWavFile(path));
    Open();
    StartWavTake(path);
    WaitUntil([] { return g_wavBytesWritten.load() >= 3 * kCaptureBufferBytes; }, "counter");
    EndTake();
    g_wavFile.Close();
    EXPECT_FALSE(PatchWavSizes(path));
    EXPECT_EQ(Close(), MMSYSERR_NOERROR);
    EXPECT_EQ(g_wavBytesWritten.load() % kCaptureBufferBytes, 0u);
    EXPECT_EQ(m_messages.ShownCount(), 0u);
}

TEST_F(CaptureTone, AfterCloseNoBufferIsQueuedAgain) {
    Open();
    WaitForBuffers(2);
    // waveInClose refuses while a buffer is still queued: the buffer the
    // reset handed back was not queued again.
    EXPECT_EQ(Close(), MMSYSERR_NOERROR);
    EXPECT_EQ(g_hWaveIn, nullptr);
    EXPECT_TRUE(g_captureClosing.load());
    EXPECT_TRUE(g_waveRing.IsStopped());
    EXPECT_TRUE(m_display.Returned());
}

TEST_F(CaptureTone, WithoutRecordSourcesCaptureIsNotOpened) {
    g_waveRing.SetStop(false);
    OpenCapture(false, m_display);
    EXPECT_EQ(g_hWaveIn, nullptr);
    EXPECT_TRUE(g_notRecording.load());
    EXPECT_TRUE(g_waveRing.IsStopped());
    EXPECT_EQ(m_messages.ShownCount(), 0u);
}

} // namespace
