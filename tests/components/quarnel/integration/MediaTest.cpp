// Every medium of the emulated writer through CDevCmdROM/CDevCmdRW: what the
// drive reports of it, a pressed CD with CD-Text, erasing, formatting and the
// tray.
#include "components/quarnel/device/DeviceStatus.h"
#include "components/quarnel/device/SessionInfo.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/mmc/ByteOrder.h"
#include "components/quarnel/mmc/Msf.h"
#include "tests/components/quarnel/integration/EmulatedRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace quarnel::test {
namespace {

struct MediumCase {
    emu::MediumKind kind;
    MEDIUM_TYPE profile;
    bool erasable;
};

class EveryMedium : public ::testing::TestWithParam<MediumCase> {};

TEST_P(EveryMedium, ProfileDiscInformationAndFirstTrack) {
    const MediumCase medium = GetParam();
    EmulatedRig rig(medium.kind);
    CDevCmdRW& device = rig.Device();
    EXPECT_EQ(device.TestUnitReady(), status::kOk);
    EXPECT_EQ(device.GetMediumType(), medium.profile);
    EXPECT_EQ(device.GetDevType(), DEV_DVDRW);

    DISC_INFO disc{};
    ASSERT_EQ(device.ReadDiscInfo(disc), status::kOk);
    EXPECT_EQ(disc.erasable, medium.erasable);
    EXPECT_EQ(disc.firstTrack, 1);
    EXPECT_EQ(disc.sessions, 1);
    TRACK_INFO track{};
    ASSERT_EQ(device.ReadTrackInfoEx(track, TRACK_INFO_BY_TRACK, 1), status::kOk);
    EXPECT_EQ(track.track, 1);
    EXPECT_EQ(track.session, 1);
    EXPECT_EQ(track.start, 0U);
}

INSTANTIATE_TEST_SUITE_P(
    Media, EveryMedium,
    ::testing::Values(MediumCase{emu::MediumKind::CdR, MEDIUM_CD_R, false},
                      MediumCase{emu::MediumKind::CdRw, MEDIUM_CD_RW, true},
                      MediumCase{emu::MediumKind::DvdRw, MEDIUM_DVD_RW_SEQUENTIAL, true},
                      MediumCase{emu::MediumKind::DvdPlusRw, MEDIUM_DVD_PLUS_RW, true},
                      MediumCase{emu::MediumKind::DvdRam, MEDIUM_DVD_RAM, true}));

TEST(Media, CapabilitiesPageTellsWhatTheWriterDoes) {
    EmulatedRig rig(emu::MediumKind::CdR, [](emu::DriveSettings& settings) {
        settings.capabilities.dvdRam = false;
        settings.capabilities.lock = false;
        settings.bufferKib = 4096;
    });
    Capabilities caps;
    ASSERT_EQ(rig.Device().GetCapabilities(caps), status::kOk);
    EXPECT_TRUE(caps.writeCdR);
    EXPECT_TRUE(caps.writeCdRw);
    EXPECT_TRUE(caps.writeDvdR);
    EXPECT_FALSE(caps.writeDvdRam);
    EXPECT_TRUE(caps.underrunProtection);
    EXPECT_TRUE(caps.cddaRead);
    EXPECT_FALSE(caps.lockSupported);
    EXPECT_TRUE(caps.ejectSupported);
    EXPECT_EQ(caps.bufferKiB, 4096);
    EXPECT_NE(rig.Device().Lock(true), status::kOk) << "a drive without a lock refuses it";
    EXPECT_EQ(rig.Device().LockVolumn(true), status::kOk);
    EXPECT_EQ(rig.Device().LockVolumn(false), status::kOk);
}

TEST(Media, BlankCdRHasTheWholeDiscFree) {
    EmulatedRig rig;
    CDevCmdRW& device = rig.Device();
    DISC_INFO disc{};
    ASSERT_EQ(device.ReadDiscInfo(disc), status::kOk);
    EXPECT_EQ(disc.discStatus, disc::kStatusBlank);
    EXPECT_EQ(disc.lastSessionState, disc::kSessionEmpty);
    EXPECT_EQ(disc.lastTrackLastSession, 1);
    EXPECT_EQ(disc.lastPossibleLeadOut, (std::array<std::uint8_t, 4>{0, 79, 59, 74}));
    TRACK_INFO track{};
    ASSERT_EQ(device.ReadTrackInfoEx(track, TRACK_INFO_BY_TRACK, 0xFF), status::kOk);
    EXPECT_TRUE(track.blank);
    EXPECT_TRUE(track.nextWritableValid);
    EXPECT_EQ(track.nextWritable, 0U);
    EXPECT_EQ(track.freeBlocks, MsfToLba({79, 59, 74}));
    unsigned long next = 1;
    EXPECT_EQ(device.GetNextWriteAdd(next), status::kOk);
    EXPECT_EQ(next, 0U);
}

// A CUE sheet with a disc title, two tracks with titles and performers, and
// its BIN file of `blocks` blocks per track.
std::filesystem::path WritePressedCue(const std::filesystem::path& folder, std::uint32_t blocks) {
    std::filesystem::create_directories(folder);
    std::ofstream bin(folder / "album.bin", std::ios::binary);
    const std::vector<std::uint8_t> audio = Audio(0, 2 * blocks, 5);
    bin.write(reinterpret_cast<const char*>(audio.data()),
              static_cast<std::streamsize>(audio.size()));
    const std::uint32_t seconds = blocks / 75;
    std::ofstream cue(folder / "album.cue");
    cue << "TITLE \"Night Songs\"\nPERFORMER \"The Tellers\"\nFILE \"album.bin\" BINARY\n"
        << "  TRACK 01 AUDIO\n    TITLE \"Dusk\"\n    PERFORMER \"The Tellers\"\n"
        << "    INDEX 01 00:00:00\n"
        << "  TRACK 02 AUDIO\n    TITLE \"Dawn\"\n    PERFORMER \"Ann Teller\"\n"
        << "    INDEX 01 00:" << (seconds < 10 ? "0" : "") << seconds << ":00\n";
    return folder / "album.cue";
}

TEST(Media, PressedCdGivesItsTitlesThroughCdText) {
    EmulatedRig rig(emu::MediumKind::None);
    const std::filesystem::path cue = WritePressedCue(rig.Parent() / "source", 150);
    std::string error;
    ASSERT_TRUE(rig.Emulated().LoadImage(cue, &error)) << error;
    CDevCmdRW& device = rig.Device();
    EXPECT_EQ(device.GetMediumType(), MEDIUM_CD_ROM);

    FS_CDTEXT_INFO text;
    ASSERT_EQ(device.GetCDText(text), status::kOk);
    EXPECT_EQ(text.Title(0), "Night Songs");
    EXPECT_EQ(text.Title(1), "Dusk");
    EXPECT_EQ(text.Title(2), "Dawn");
    EXPECT_EQ(text.Performer(1), "The Tellers");
    EXPECT_EQ(text.Performer(2), "Ann Teller");

    DISC_INFO disc{};
    ASSERT_EQ(device.ReadDiscInfo(disc), status::kOk);
    EXPECT_EQ(disc.discStatus, disc::kStatusComplete);
    EXPECT_EQ(disc.lastTrackLastSession, 2);
    TRACK_INFO second{};
    ASSERT_EQ(device.ReadTrackInfoEx(second, TRACK_INFO_BY_TRACK, 2), status::kOk);
    EXPECT_EQ(second.start, 150U);
    EXPECT_EQ(second.size, 150U);

    std::vector<unsigned char> toc(2048);
    ASSERT_EQ(device.ReadTocEx(toc.data(), 2048, 2, 0), status::kOk);
    const SessionInfo sessions(toc.data() + 4, static_cast<int>(GetBe16(toc, 0)) - 2);
    ASSERT_EQ(sessions.GetSessionCount(), 1);
    EXPECT_EQ(sessions.GetTocData(1)->GetLastTrackNo(), 2);
    EXPECT_EQ(sessions.GetTocData(1)->GetLeadOutStartPosEx(), 300U);

    std::vector<unsigned char> sector(CDevCmdROM::kAudioSectorBytes);
    ASSERT_EQ(device.ReadCD_All(sector.data(), static_cast<long>(sector.size()), 1, 151),
              status::kOk);
    const std::vector<std::uint8_t> image = Audio(0, 300, 5);
    EXPECT_TRUE(std::equal(sector.begin(), sector.end(),
                           image.begin() + 151 * CDevCmdROM::kAudioSectorBytes));

    unsigned long next = 0;
    EXPECT_NE(device.GetNextWriteAdd(next), status::kOk);
    EXPECT_NE(device.Write(300, sector.data(), sector.size(), 1), status::kOk)
        << "a pressed CD takes no writes";
}

TEST(Media, CdTextFromTheSharedTestSheet) {
    const std::filesystem::path vectors = TestVectors();
    if (vectors.empty()) {
        GTEST_SKIP() << "the shared test vectors are not there";
    }
    EmulatedRig rig(emu::MediumKind::None);
    std::string error;
    ASSERT_TRUE(rig.Emulated().LoadImage(vectors / "cdda.cue", &error)) << error;
    FS_CDTEXT_INFO text;
    ASSERT_EQ(rig.Device().GetCDText(text), status::kOk);
    EXPECT_EQ(text.Title(0), "Join us now we have the software");
    EXPECT_EQ(text.Title(1), "Soft");
    EXPECT_EQ(text.Performer(1), "Richard S");
}

TEST(Media, BlankingACdRwReportsProgressUntilReady) {
    EmulatedRig rig(emu::MediumKind::CdRw);
    CDevCmdRW& device = rig.Device();
    ASSERT_EQ(device.SetWriteParam(WriteParam::AudioTrackAtOnce(false)), status::kOk);
    WriteChunks(device, 0, 2, 1);
    ASSERT_EQ(device.CloseTrack(1), status::kOk);
    ASSERT_EQ(device.CloseSession(), status::kOk);
    rig.WaitUntilReady();

    ASSERT_EQ(device.Blank(BLANK_MINIMAL), status::kOk);
    EXPECT_NE(device.TestUnitReady(), status::kOk) << "blanking runs after the command returns";
    const std::vector<std::uint16_t> progress = rig.WaitUntilReady();
    ASSERT_GE(progress.size(), 10U);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_LT(progress.front(), progress.back());

    DISC_INFO disc{};
    ASSERT_EQ(device.ReadDiscInfo(disc), status::kOk);
    EXPECT_EQ(disc.discStatus, disc::kStatusBlank);
    unsigned long next = 1;
    ASSERT_EQ(device.GetNextWriteAdd(next), status::kOk);
    EXPECT_EQ(next, 0U);
}

TEST(Media, LockedTrayRefusesEjectUntilAllowed) {
    EmulatedRig rig;
    CDevCmdRW& device = rig.Device();
    ASSERT_EQ(device.Lock(true), status::kOk);
    EXPECT_NE(device.Eject(true), status::kOk);
    EXPECT_TRUE(device.GetLastSense().Is(sense::kRemovalPrevented));
    EXPECT_FALSE(rig.Emulated().RemoveDisc());
    EXPECT_FALSE(rig.Emulated().LoadBlank(emu::MediumKind::CdRw)) << "no disc change either";
    EXPECT_FALSE(rig.Emulated().LoadImage(rig.Parent() / "none.cue"));
    EXPECT_EQ(device.TestUnitReady(), status::kOk) << "the disc is still in";

    ASSERT_EQ(device.Lock(false), status::kOk);
    ASSERT_EQ(device.Eject(true), status::kOk);
    EXPECT_NE(device.TestUnitReady(), status::kOk);
    EXPECT_TRUE(device.GetLastSense().NoMedium());
    ASSERT_EQ(device.Eject(false), status::kOk);
    EXPECT_EQ(device.TestUnitReady(), status::kOk) << "closing the tray brings the disc back";
    EXPECT_EQ(device.GetMediumType(), MEDIUM_CD_R);
}

} // namespace
} // namespace quarnel::test
