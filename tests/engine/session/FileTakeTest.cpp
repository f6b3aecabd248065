// The read-outs of a WAV take from the tone input through the session, and the texts of times
// and disc addresses. (WAV and MP3 takes whole from Record to Stop are in WholeTakeTest.cpp.)
#include "engine/RecordingState.h"
#include "engine/session/DiscTime.h"
#include "engine/session/ReadoutText.h"
#include "tests/engine/session/SessionFixture.h"

namespace {

class FileTake : public SessionFixture {};

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
