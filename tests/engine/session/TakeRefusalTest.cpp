// Every check before a take refuses with its message and leaves the drive
// unlocked and the disc as it was; the file checks leave no file behind.
#include "components/quarnel/MmcOpcodes.h"
#include "engine/RecordingState.h"
#include "tests/engine/session/SessionFixture.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

namespace {

namespace emu = quarnel::emu;

class TakeRefusal : public SessionFixture {
protected:
    // Writes a track of `writes` 16-sector writes straight through the drive.
    void WriteTrack(int writes, bool closeDisc) {
        quarnel::CDevCmdRW& device = Device();
        ASSERT_EQ(device.SetWriteParam(quarnel::WriteParam::AudioTrackAtOnce(!closeDisc)), 0u);
        unsigned long address = 0;
        ASSERT_EQ(device.GetNextWriteAdd(address), 0u);
        std::vector<unsigned char> sectors(kCaptureBufferBytes);
        for (int i = 0; i < writes; ++i) {
            ASSERT_EQ(
                device.Write(static_cast<long>(address), sectors.data(), kCaptureBufferBytes, 16),
                0u);
            address += 16;
        }
        device.SynCache();
        device.CloseTrack(1);
        if (closeDisc) {
            device.CloseSession();
        }
        // Closing takes the drive a moment, as on a real writer; a user would
        // only press Record once the drive is ready again.
        for (int look = 0; look < 200 && device.TestUnitReady() != 0; ++look) {
            ::usleep(10'000);
        }
    }
    void FailCommand(std::uint8_t opcode) {
        emu::FaultPlan faults = Emulated().Faults();
        faults.failCommands.push_back(opcode);
        Emulated().SetFaults(faults);
    }
};

struct Refusal {
    const char* situation;
    int message;
    std::function<void()> arrange;
};

TEST_F(TakeRefusal, EachCheckShowsItsMessageAndLeavesTheDriveUnlockedAndUnwritten) {
    const std::vector<Refusal> refusals{
        {"no drive selected", 16, [this] { m_view.m_device.store(nullptr); }},
        {"drive not ready", 3,
         [this] {
             emu::FaultPlan faults = Emulated().Faults();
             faults.notReady = true;
             Emulated().SetFaults(faults);
         }},
        {"not a CD", 21, [this] { ASSERT_TRUE(Emulated().LoadBlank(emu::MediumKind::DvdRw)); }},
        {"disc information unreadable", 22,
         [this] { FailCommand(quarnel::op::kReadDiscInformation); }},
        {"disc closed", 23, [this] { WriteTrack(2, true); }},
        {"capacity unknown", 24,
         [this] {
             WriteTrack(2, false);
             FailCommand(quarnel::op::kReadTrackInformation);
         }},
        {"next address beyond the usable end", 25,
         [this] {
             ASSERT_TRUE(Emulated().LoadBlank(emu::MediumKind::CdR, 12800 + 32));
             WriteTrack(4, false);
         }},
        {"write parameters refused", 18, [this] { FailCommand(quarnel::op::kModeSelect10); }},
        {"no next writable address", 19,
         [this] { FailCommand(quarnel::op::kReadTrackInformation); }},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.situation);
        MakeDrive();
        refusal.arrange();
        const std::size_t tracksBefore = Emulated().State().tracks.size();
        const std::size_t shownBefore = m_messages.ShownCount();

        m_session->StartRecording();

        EXPECT_FALSE(m_session->IsRecording());
        EXPECT_TRUE(g_notRecording.load());
        const auto shown = m_messages.ShownMessages();
        ASSERT_EQ(shown.size(), shownBefore + 1);
        EXPECT_EQ(shown.back().text, Message(refusal.message));
        EXPECT_EQ(shown.back().style, 64u);
        EXPECT_FALSE(Emulated().State().locked);
        EXPECT_FALSE(Emulated().State().trayOpen) << "a refused take leaves the tray shut";
        EXPECT_EQ(Emulated().State().tracks.size(), tracksBefore);
        EXPECT_FALSE(Emulated().State().trackOpen);
        DropDrive();
    }
}

TEST_F(TakeRefusal, NoRecordSourceShowsMessage1AndChangesNothing) {
    MakeDrive();
    m_view.m_sources.store(0);
    m_session->StartRecording();
    EXPECT_FALSE(m_session->IsRecording());
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{Message(1)});
    EXPECT_FALSE(m_view.m_controlsRecording.load());
}

// Path kinds: blanks around the name and any letter case count; anything
// else refuses before a file is made.
TEST_F(TakeRefusal, FilePathsAreJudgedByTheirTrimmedUpperCasedEnding) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(m_folder.Path());
    m_view.m_toFile.store(true);

    m_view.SetPath("   take.Mp3   ");
    m_session->StartRecording();
    EXPECT_TRUE(m_session->IsRecording());
    EXPECT_EQ(g_fileType.load(), kFileTypeMp3);
    m_session->StopRecording();
    EXPECT_TRUE(std::filesystem::exists("   take.Mp3   "));

    m_view.SetPath("take.mp3x");
    m_session->StartRecording();
    m_view.SetPath("");
    m_session->StartRecording();
    EXPECT_FALSE(m_session->IsRecording());
    EXPECT_FALSE(std::filesystem::exists("take.mp3x"));
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{Message(12), Message(11)}));
    std::filesystem::current_path(before);
}

TEST_F(TakeRefusal, AnExistingFileIsKeptOnCancelAndReplacedOnOk) {
    const std::string path = m_folder.Path() + "/old.wav";
    std::ofstream(path) << "keep me";
    m_view.m_toFile.store(true);
    m_view.SetPath(path);

    m_messages.Script({util::IDCANCEL, util::IDOK});
    m_session->StartRecording();
    EXPECT_FALSE(m_session->IsRecording());
    EXPECT_EQ(std::filesystem::file_size(path), 7u);

    m_session->StartRecording();
    EXPECT_TRUE(m_session->IsRecording());
    m_session->StopRecording();
    const auto shown = m_messages.ShownMessages();
    ASSERT_EQ(shown.size(), 2u);
    for (const auto& message : shown) {
        EXPECT_EQ(message.text, Message(13));
        EXPECT_EQ(message.style, util::MB_OKCANCEL | util::MB_ICONQUESTION);
    }
    EXPECT_GE(std::filesystem::file_size(path), 44u);
}

} // namespace
