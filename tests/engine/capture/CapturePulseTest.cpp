// The real ALSA path: a WAV take captured through ALSA's "pulse" device from
// the private PulseAudio server of with-pulse.sh while paplay plays a known
// signal into its null sink, whose monitor is the default source.

#include "engine/Capture.h"
#include "engine/RecordingState.h"
#include "engine/WavHeader.h"
#include "platform/wave/PcmFormat.h"
#include "tests/engine/capture/CaptureFixture.h"
#include "tests/platform/wave/WaveTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace platform::wave;

namespace {

constexpr std::uint32_t kSignalFrames = 4 * 44100;
// The server may lose the first moments of a stream that starts on an idle
// sink; the rest must arrive without a gap.
constexpr std::size_t kMinimumFrames = kSignalFrames * 9 / 10;

using CapturePulse = CaptureFixture;

TEST_F(CapturePulse, ASignalPlayedIntoTheServerArrivesWholeInTheWavFile) {
    if (std::getenv("SONDREL_TEST_PULSE") == nullptr) {
        GTEST_SKIP() << "no private sound server: run through with-pulse.sh";
    }
    UseInput("alsa:pulse");
    const std::string signal = m_folder.File("signal.wav");
    wavetest::writeWavFile(signal, CdAudioFormat(), wavetest::rampFrames(0, kSignalFrames));
    const std::string take = m_folder.File("take.wav");

    Open();
    ASSERT_NE(g_hWaveIn, nullptr);
    // The server can take a second or two before an idle monitor stream
    // delivers anything; the signal is played once the capture is running.
    WaitForBuffers(1);
    ASSERT_TRUE(CreateWavFile(take));
    StartWavTake(take);
    const std::string play = "paplay --device=rec_sink '" + signal + "'";
    ASSERT_EQ(std::system(play.c_str()), 0);
    // The monitor goes on delivering silence; one more second brings the tail.
    WaitForBuffers(5);
    EndTake();
    g_wavFile.Close();
    ASSERT_TRUE(PatchWavSizes(take));
    EXPECT_EQ(Close(), MMSYSERR_NOERROR);

    const std::vector<char> file = wavetest::readFile(take);
    ASSERT_EQ(file.size(), 44u + g_wavBytesWritten.load());
    const std::vector<char> pcm(file.begin() + 44, file.end());
    const auto runs = wavetest::rampRuns(pcm, 64);
    ASSERT_EQ(runs.size(), 1u) << "the signal arrived in pieces";
    EXPECT_GE(runs[0].frames, kMinimumFrames);
    EXPECT_EQ((static_cast<std::size_t>(runs[0].firstValue) + runs[0].frames - 1) & 0xFFFF,
              (kSignalFrames - 1) & 0xFFFF);
    EXPECT_EQ(m_messages.ShownCount(), 0u);
}

} // namespace
