// CD takes from the tone input onto an emulated writer, read back from the
// drive's image and compared sample for sample with the tone.
#include "components/quarnel/MmcOpcodes.h"
#include "engine/RecordingState.h"
#include "engine/session/SessionState.h"
#include "tests/engine/session/SessionFixture.h"

namespace {

constexpr std::uint64_t kTakeBuffers = 12;
constexpr std::uint32_t kSectorsPerBuffer = 16;

class CdTake : public SessionFixture {
protected:
    // A take whose cache flush or track close the drive refuses ends with message 30 naming
    // the command and the drive's answer, instead of passing for a finished take.
    void ExpectToldWhenRefused(std::uint8_t opcode, const std::string& said) {
        MakeDrive();
        quarnel::emu::FaultPlan faults = Emulated().Faults();
        faults.failCommands.push_back(opcode);
        Emulated().SetFaults(faults);
        const std::size_t before = MessageTexts().size();
        RecordFor(4);
        const std::vector<std::string> texts = MessageTexts();
        ASSERT_EQ(texts.size(), before + 1);
        EXPECT_EQ(texts.back(), Message(30) + "\n" + said + ": sense 4/44/00 (drive failure)");
        EXPECT_FALSE(Emulated().State().locked) << "the drive is let go all the same";
        DropDrive();
    }
};

TEST_F(CdTake, ARefusedCacheFlushOrTrackCloseIsTold) {
    ExpectToldWhenRefused(quarnel::op::kSynchronizeCache, "SYNCHRONIZE CACHE");
    ExpectToldWhenRefused(quarnel::op::kCloseTrackSession, "CLOSE TRACK");
}

TEST_F(CdTake, TwoTakesAppendTwoTracksHoldingExactlyTheCapturedSound) {
    MakeDrive();
    RecordFor(kTakeBuffers);
    const std::int32_t first = m_session->RecordedSectors();
    RecordFor(kTakeBuffers);
    const std::int32_t second = m_session->RecordedSectors();

    const quarnel::emu::DiscState state = Emulated().State();
    ASSERT_EQ(state.tracks.size(), 2u);
    EXPECT_EQ(state.tracks[0].length, static_cast<std::uint32_t>(first));
    EXPECT_EQ(state.tracks[1].length, static_cast<std::uint32_t>(second));
    EXPECT_EQ(state.tracks[1].number, 2u);
    EXPECT_GE(first, static_cast<std::int32_t>(kSectorsPerBuffer));
    EXPECT_TRUE(IsToneStretch(TrackAudio(0)));
    EXPECT_TRUE(IsToneStretch(TrackAudio(1)));
    EXPECT_FALSE(state.complete);
    EXPECT_FALSE(state.locked);
    EXPECT_FALSE(state.trackOpen);
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_FALSE(m_view.m_controlsRecording.load());
    EXPECT_EQ(g_cdQueue.GetWaitingBytes(), 0u) << "nothing of a take reaches the next one";
}

TEST_F(CdTake, CloseDiscTickedDuringTheTakeClosesTheDiscAndAClosedDiscIsRefused) {
    MakeDrive();
    m_session->StartRecording();
    ASSERT_TRUE(m_session->IsRecording());
    m_view.m_closeDisc.store(true);
    WaitForBuffers(4);
    m_session->StopRecording();
    EXPECT_TRUE(Emulated().State().complete);

    m_session->StartRecording();
    EXPECT_FALSE(m_session->IsRecording());
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{Message(23)});
    EXPECT_EQ(Emulated().State().tracks.size(), 1u);
    EXPECT_FALSE(Emulated().State().locked);
}

TEST_F(CdTake, ADriveBusyWithALongWriteForSeveralAttemptsLosesNothing) {
    MakeDrive([](quarnel::emu::DriveSettings& settings) { settings.faults.longWriteAttempts = 5; });
    RecordFor(kTakeBuffers);
    const quarnel::emu::DiscState state = Emulated().State();
    ASSERT_EQ(state.tracks.size(), 1u);
    EXPECT_EQ(state.tracks[0].length, static_cast<std::uint32_t>(m_session->RecordedSectors()));
    EXPECT_GT(m_session->RecordedSectors(), 0);
    EXPECT_TRUE(IsToneStretch(TrackAudio(0)));
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_EQ(Emulated().Faults().longWriteAttempts, 0u) << "every busy answer was waited out";
}

TEST_F(CdTake, AWriteThatFailsForGoodStopsTheTakeWithMessage15AndClosesTheTrack) {
    constexpr std::uint32_t kGoodSectors = 3 * kSectorsPerBuffer;
    MakeDrive([](quarnel::emu::DriveSettings& settings) {
        settings.faults.failWritesFrom = kGoodSectors;
    });
    m_session->StartRecording();
    WaitUntilIdle(); // the writer stops the take itself
    const quarnel::emu::DiscState state = Emulated().State();
    ASSERT_EQ(state.tracks.size(), 1u);
    EXPECT_EQ(MessageTexts(),
              std::vector<std::string>{Message(15) + "\nWRITE at " +
                                       std::to_string(state.tracks[0].start + kGoodSectors) +
                                       ": sense 3/0C/00 (write error)"})
        << "the message says which write failed and how";
    EXPECT_EQ(state.tracks[0].length, kGoodSectors);
    EXPECT_FALSE(state.trackOpen);
    EXPECT_FALSE(state.locked);
    EXPECT_FALSE(state.complete) << "a failed write does not close the disc";
    EXPECT_TRUE(IsToneStretch(TrackAudio(0)));
    EXPECT_TRUE(g_notRecording.load());
    m_session->StopRecording(); // a late Stop from the window changes nothing
    EXPECT_EQ(m_messages.ShownCount(), 1u);
}

TEST_F(CdTake, AFullDiscGetsExactlyItsUsableSectorsThenIsClosedWithMessage20) {
    constexpr std::uint32_t kUsable = 10 * kSectorsPerBuffer;
    MakeDrive();
    ASSERT_TRUE(Emulated().LoadBlank(quarnel::emu::MediumKind::CdR, 12800 + kUsable));
    m_session->StartRecording();
    EXPECT_EQ(g_discTotal.load(), kUsable);
    EXPECT_EQ(g_discFree.load(), kUsable);
    WaitUntilIdle();
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{Message(20)});
    const quarnel::emu::DiscState state = Emulated().State();
    ASSERT_EQ(state.tracks.size(), 1u);
    EXPECT_EQ(state.tracks[0].length, kUsable);
    EXPECT_TRUE(state.complete) << "closed though Close disc was not ticked";
    EXPECT_FALSE(state.locked);
    EXPECT_EQ(m_view.m_capacityPos.load(), 100);
    EXPECT_TRUE(IsToneStretch(TrackAudio(0)));
}

TEST_F(CdTake, ADriveThatWritesAtExactly1xKeepsUpWithTheSound) {
    MakeDrive([](quarnel::emu::DriveSettings& settings) {
        settings.writeSpeedX = 1;
        settings.bufferKib = 256;
    });
    RecordFor(2 * kTakeBuffers);
    const quarnel::emu::DiscState state = Emulated().State();
    ASSERT_EQ(state.tracks.size(), 1u);
    EXPECT_EQ(state.tracks[0].length, static_cast<std::uint32_t>(m_session->RecordedSectors()));
    EXPECT_TRUE(IsToneStretch(TrackAudio(0)));
    EXPECT_TRUE(MessageTexts().empty());
}

} // namespace
