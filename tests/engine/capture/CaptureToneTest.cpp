// Capture over the real wave-in service with the tone input: which sink gets the buffers, a
// WAV take without sound or file, closing, an input that cannot open.
#include "engine/Capture.h"
#include "engine/RecordingState.h"
#include "engine/WavHeader.h"
#include "lang/LangText.h"
#include "platform/wave/WaveIn.h"
#include "tests/engine/capture/CaptureFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

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

    EXPECT_EQ(ReadBytes(path).size(), kTakeWavHeaderBytes);
    EXPECT_EQ(g_wavBytesWritten.load(), 0u);
    EXPECT_EQ(g_mp3Queue.GetWaitingBytes(), 0u);
    EXPECT_EQ(g_cdQueue.GetWaitingBytes(), 0u);
    EXPECT_EQ(m_messages.ShownCount(), 0u);
    EXPECT_TRUE(m_display.Returned());
    EXPECT_TRUE(m_display.StopShowCalled());
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
    // Patching a file shorter than the header leaves it alone.
    std::ofstream(path, std::ios::trunc) << "RIFF";
    EXPECT_TRUE(PatchWavSizes(path));
    EXPECT_EQ(ReadBytes(path).size(), 4u);
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

TEST_F(CaptureTone, ADeviceThatDoesNotExistShowsMessage7) {
    UseInput("alsa:nonexistent");
    Open();
    EXPECT_EQ(g_hWaveIn, nullptr);
    EXPECT_TRUE(g_notRecording.load());
    EXPECT_TRUE(g_captureClosing.load());
    EXPECT_TRUE(g_waveRing.IsStopped());
    const auto shown = m_messages.ShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].style, 0u);
    EXPECT_EQ(shown[0].text, lang::GetLangString("Message", 7));
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
