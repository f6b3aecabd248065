// Capture and dispatch over the real wave-in service with the virtual tone
// input: which sink gets the buffers, the WAV file of a take, and closing.

#include "engine/Capture.h"
#include "engine/RecordingState.h"
#include "engine/WavHeader.h"
#include "tests/engine/capture/CaptureFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::uint32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

using CaptureTone = CaptureFixture;

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

    EXPECT_EQ(ReadBytes(path).size(), 44u);
    EXPECT_EQ(g_wavBytesWritten.load(), 0u);
    EXPECT_EQ(g_mp3Queue.GetWaitingBytes(), 0u);
    EXPECT_EQ(g_cdQueue.GetWaitingBytes(), 0u);
    EXPECT_EQ(m_messages.ShownCount(), 0u);
    EXPECT_TRUE(m_display.Returned());
    EXPECT_TRUE(m_display.StopShowCalled());
}

TEST_F(CaptureTone, AWavTakeHoldsEveryBufferInOrderWithPatchedSizes) {
    const std::string path = m_folder.File("take.wav");
    Open();
    WaitForBuffers(2); // the take starts in the middle of the stream
    ASSERT_TRUE(CreateWavFile(path));
    StartWavTake(path);
    WaitUntil([] { return g_wavBytesWritten.load() >= 5 * kCaptureBufferBytes; }, "WAV take");
    EndTake();
    g_wavFile.Close();
    ASSERT_TRUE(PatchWavSizes(path));
    const std::uint64_t delivered = BuffersDelivered();
    Close();

    const std::uint32_t pcmBytes = g_wavBytesWritten.load();
    ASSERT_EQ(pcmBytes % kCaptureBufferBytes, 0u);
    const std::uint32_t buffers = pcmBytes / kCaptureBufferBytes;
    EXPECT_GE(buffers, 5u);
    const std::vector<std::uint8_t> file = ReadBytes(path);
    ASSERT_EQ(file.size(), 44u + 37632u * buffers);
    EXPECT_EQ(Le32(file, 4), file.size() - 8);
    EXPECT_EQ(Le32(file, 40), pcmBytes);
    const std::vector<std::uint8_t> pcm(file.begin() + 44, file.end());
    EXPECT_GE(FindToneStart(pcm, delivered), 2) << "the PCM is not the tone, continuous";
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
    ASSERT_EQ(file.size(), 44u);
    EXPECT_EQ(Le32(file, 4), kWavPlaceholderRiffBytes);
    EXPECT_EQ(Le32(file, 40), kWavPlaceholderDataBytes);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(file.begin() + 36, file.begin() + 40), "data");
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

class CaptureToneQueues : public CaptureFixture,
                          public ::testing::WithParamInterface<std::pair<bool, std::int32_t>> {};

TEST_P(CaptureToneQueues, TheTakesQueueGetsEveryBufferInOrder) {
    const auto [toFile, fileType] = GetParam();
    CDataList& fed = toFile ? g_mp3Queue : g_cdQueue;
    CDataList& idle = toFile ? g_cdQueue : g_mp3Queue;
    Open();
    WaitForBuffers(1);
    StartQueueTake(toFile, fileType);
    WaitUntil([&fed] { return fed.GetWaitingBytes() >= 4u * kCaptureBufferBytes; }, "queue");
    EndTake();
    const std::uint64_t delivered = BuffersDelivered();
    Close();

    const std::vector<std::uint8_t> pcm = Drain(fed);
    EXPECT_EQ(pcm.size() % kCaptureBufferBytes, 0u);
    EXPECT_GE(FindToneStart(pcm, delivered), 1) << "the queued PCM is not the tone, continuous";
    EXPECT_EQ(idle.GetWaitingBytes(), 0u);
    EXPECT_EQ(g_wavBytesWritten.load(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Sinks, CaptureToneQueues,
                         ::testing::Values(std::make_pair(true, kFileTypeMp3),
                                           std::make_pair(false, kFileTypeNone)));

TEST_F(CaptureTone, AFileTakeOfNoKnownTypeFeedsNothing) {
    Open();
    StartQueueTake(true, 7);
    WaitForBuffers(3);
    EndTake();
    Close();
    EXPECT_EQ(g_mp3Queue.GetWaitingBytes(), 0u);
    EXPECT_EQ(g_cdQueue.GetWaitingBytes(), 0u);
    EXPECT_EQ(g_wavBytesWritten.load(), 0u);
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
