// WAV and MP3 takes from the tone input through the session.
#include "engine/RecordingState.h"
#include "engine/WavHeader.h"
#include "engine/session/DiscTime.h"
#include "engine/session/ReadoutText.h"
#include "tests/components/vesplin/DecodedMp3.h"
#include "tests/engine/session/SessionFixture.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr std::uint64_t kTakeBuffers = 10;

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

class FileTake : public SessionFixture {};

TEST_F(FileTake, AWavTakeHoldsTheCapturedSoundWithItsSizesPatched) {
    const std::string path = m_folder.Path() + "/take.WAV";
    m_view.m_toFile.store(true);
    m_view.SetPath(path);
    RecordFor(kTakeBuffers);

    const std::vector<std::uint8_t> file = ReadFile(path);
    ASSERT_GT(file.size(), kTakeWavHeaderBytes + kCaptureBufferBytes);
    EXPECT_EQ(Le32(file, 4), file.size() - 8);
    EXPECT_EQ(Le32(file, 76), file.size() - kTakeWavHeaderBytes);
    EXPECT_EQ((file.size() - kTakeWavHeaderBytes) % kCaptureBufferBytes, 0u)
        << "whole capture buffers";
    EXPECT_TRUE(IsToneStretch({file.begin() + kTakeWavHeaderBytes, file.end()}));
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_EQ(m_view.m_timerMs.load(), 0u) << "timer 2 killed";
}

TEST_F(FileTake, TheReadOutsOfAWavTakeCountTheSoundThatArrivedNotTheTimerTicks) {
    m_view.m_toFile.store(true);
    m_view.SetPath(m_folder.Path() + "/ticks.wav");
    const std::uint64_t before = BuffersDelivered();
    m_session->StartRecording();
    ASSERT_TRUE(m_session->IsRecording());
    EXPECT_EQ(m_view.m_timerMs.load(), 1000u);
    WaitForBuffers(5);
    m_session->OnRecordTimer();
    const std::int32_t sectors = m_session->RecordedSectors();
    EXPECT_GE(sectors, 4 * 16);
    EXPECT_LE(sectors, static_cast<std::int32_t>(BuffersDelivered() - before + 1) * 16);
    EXPECT_EQ(m_view.Time(), engine::FormatTime(sectors));
    EXPECT_EQ(m_view.Length(),
              engine::FormatLength(static_cast<std::uint32_t>(sectors) * 2352 / 1024));
    m_session->StopRecording();
    EXPECT_EQ(m_session->GapSeconds(), 0u);
}

TEST_F(FileTake, AnMp3TakeDecodesToAboutTheRecordedLength) {
    const std::string path = m_folder.Path() + "/take.mp3";
    m_view.m_toFile.store(true);
    m_view.SetPath(path);
    RecordFor(kTakeBuffers);

    const vesplintest::DecodedMp3 decoded = vesplintest::DecodeMp3(path);
    ASSERT_TRUE(decoded.decoded);
    EXPECT_EQ(decoded.rateHz, 44100);
    EXPECT_EQ(decoded.channels, 2);
    // The take is whole capture buffers: at least those asked for, and not
    // many more than the Stop pause lets through.
    constexpr std::size_t kFramesPerBuffer = kCaptureBufferBytes / 4;
    EXPECT_EQ(decoded.Frames() % kFramesPerBuffer, 0u);
    EXPECT_GE(decoded.Frames(), kFramesPerBuffer * (kTakeBuffers - 1));
    EXPECT_LE(decoded.Frames(), kFramesPerBuffer * (kTakeBuffers + 8));
    EXPECT_TRUE(g_mp3Queue.IsFinished());
}

TEST(SessionText, TimesAndDiscAddressesFollowTheDiscClock) {
    EXPECT_EQ(engine::FormatTime(0), "Time: 00:00:02");
    EXPECT_EQ(engine::FormatTime(75), "Time: 00:00:03");
    EXPECT_EQ(engine::FormatTime(4350), "Time: 00:01:00");
    EXPECT_EQ(engine::FormatTime(404850), "Time: 01:00:00");
    EXPECT_EQ(engine::FormatTime(404849), "Time: 00:89:59");

    EXPECT_EQ(engine::DiscTimeToAddress(0, 79, 59, 74), 359849u);
    EXPECT_EQ(engine::DiscTimeToAddress(0, 0xFF, 0xFF, 0xFF), 0xFFFFFFu);
    EXPECT_EQ(engine::DiscTimeToAddress(1, 0xFF, 0xFF, 0xFF), 0xFFFFFFu);
    EXPECT_EQ(engine::DiscTimeToAddress(0, 0, 0, 0), 0u);
    EXPECT_EQ(engine::DiscTimeToAddress(0, 0, 2, 0), 0u);
    EXPECT_EQ(engine::DiscTimeToAddress(0, 90, 0, 0), 90u * 60 * 75 - 450150);
    EXPECT_EQ(engine::DiscTimeToAddress(1, 0, 2, 5), 90u * 60 * 75 + 5);

    EXPECT_EQ(engine::CapacityPercent(0, 0), -1);
    EXPECT_EQ(engine::CapacityPercent(347049, 247049), 28);
    EXPECT_EQ(engine::CapacityPercent(160, 0xFFFFFFF0u), 100) << "wrapped free count";
}

} // namespace
