// The drive classes against the emulated writer, reached as the program reaches drives:
// media and their replies, sense paths (no medium, long writes, refused writes, underruns,
// speeds), track-at-once sequences and restarts, the drive checks and the drive list.
#include "components/quarnel/device/DevDeque.h"
#include "components/quarnel/device/DeviceStatus.h"
#include "components/quarnel/device/DriveProviders.h"
#include "components/quarnel/device/SessionInfo.h"
#include "components/quarnel/emu/DriveFolders.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/emu/ManualClock.h"
#include "components/quarnel/emudrives/EmulatedDriveProvider.h"
#include "components/quarnel/mmc/ByteOrder.h"
#include "components/quarnel/mmc/Msf.h"
#include "disc/DriveChecks.h"
#include "disc/DriveList.h"
#include "lang/LangText.h"
#include "tests/components/quarnel/integration/EmulatedRig.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

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

TEST(Media, CdTextFromTheSharedTestSheet) {
    const std::filesystem::path vectors = testsupport::TestVectors();
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

constexpr std::uint32_t kChunk = 16;

std::uint32_t WriteChunk(CDevCmdRW& device, unsigned long address) {
    std::vector<std::uint8_t> data =
        testsupport::AudioSectors(static_cast<std::uint32_t>(address), kChunk, 3);
    return device.Write(static_cast<long>(address), data.data(), data.size(), kChunk);
}

bool BufeIsOn(CDevCmdRW& device) {
    std::array<unsigned char, 60> page{};
    SenseData_tag sense{};
    EXPECT_EQ(device.GetParamPage(page.data(), static_cast<int>(page.size()), device.GetDeviceID(),
                                  sense, 0x05),
              status::kOk);
    EXPECT_EQ(page[0] & 0x3F, 0x05);
    return (page[2] & 0x40) != 0;
}

TEST(SensePaths, LongWriteInProgressIsRetriedUntilTheWriteGoesThrough) {
    EmulatedRig rig;
    CDevCmdRW& device = rig.Device();
    ASSERT_EQ(device.SetWriteParam(WriteParam::AudioTrackAtOnce(true)), status::kOk);
    emu::FaultPlan faults;
    faults.longWriteAttempts = 3;
    rig.Emulated().SetFaults(faults);
    int busy = 0;
    std::uint32_t result = WriteChunk(device, 0);
    while (result != status::kOk && device.GetLastSense().LongWriteInProgress() && busy < 10) {
        ++busy;
        result = WriteChunk(device, 0);
    }
    EXPECT_EQ(result, status::kOk);
    EXPECT_EQ(busy, 3);
    unsigned long next = 0;
    ASSERT_EQ(device.GetNextWriteAdd(next), status::kOk);
    EXPECT_EQ(next, kChunk) << "the retried write landed once";
}

TEST(SensePaths, WritesOnlyAtTheNextWritableAddress) {
    EmulatedRig rig;
    CDevCmdRW& device = rig.Device();
    ASSERT_EQ(device.SetWriteParam(WriteParam::AudioTrackAtOnce(true)), status::kOk);
    EXPECT_NE(WriteChunk(device, 32), status::kOk);
    EXPECT_TRUE(device.GetLastSense().InvalidAddressForWrite());
    EXPECT_EQ(WriteChunk(device, 0), status::kOk);
    EXPECT_NE(WriteChunk(device, 0), status::kOk) << "the same address twice";
    EXPECT_TRUE(device.GetLastSense().InvalidAddressForWrite());
}

// A 4x drive with a small buffer; the host waits long enough between two
// writes for the buffer to run dry.
std::uint32_t WriteAfterAStall(EmulatedRig& rig) {
    CDevCmdRW& device = rig.Device();
    EXPECT_EQ(device.SetWriteParam(WriteParam::AudioTrackAtOnce(true)), status::kOk);
    EXPECT_EQ(WriteChunk(device, 0), status::kOk);
    rig.Clock().Advance(std::chrono::seconds(5));
    return WriteChunk(device, kChunk);
}

void SmallFastBuffer(emu::DriveSettings& settings) {
    settings.writeSpeedX = 4;
    settings.bufferKib = 256;
}

TEST(SensePaths, UnderrunRuinsTheTrackWhenTheDriveOffersNoProtection) {
    EmulatedRig rig(emu::MediumKind::CdR, [](emu::DriveSettings& settings) {
        SmallFastBuffer(settings);
        settings.capabilities.underrunProtection = false;
    });
    const std::uint32_t result = WriteAfterAStall(rig);
    EXPECT_NE(result, status::kOk);
    EXPECT_TRUE(rig.Device().GetLastSense().Underrun());
    EXPECT_FALSE(BufeIsOn(rig.Device()));
    EXPECT_NE(WriteChunk(rig.Device(), 2 * kChunk), status::kOk) << "the track takes no more";
    EXPECT_EQ(rig.Device().CloseTrack(1), status::kOk) << "what was written is kept";
}

TEST(SensePaths, SetWriteParamSwitchesProtectionOnWhenOffered) {
    EmulatedRig rig(emu::MediumKind::CdR, SmallFastBuffer);
    EXPECT_EQ(WriteAfterAStall(rig), status::kOk) << "the drive paused and resumed";
    EXPECT_TRUE(BufeIsOn(rig.Device()));
    EXPECT_EQ(WriteChunk(rig.Device(), 2 * kChunk), status::kOk);
}

// 16-sector writes every 200 ms, as live audio arrives (a little faster than
// 1x); whether every one of them went through.
bool KeepsUpWithLiveAudio(EmulatedRig& rig) {
    CDevCmdRW& device = rig.Device();
    EXPECT_EQ(device.SetWriteParam(WriteParam::AudioTrackAtOnce(true)), status::kOk);
    for (unsigned long address = 0; address < 20 * kChunk; address += kChunk) {
        if (WriteChunk(device, address) != status::kOk) {
            return false;
        }
        rig.Clock().Advance(std::chrono::milliseconds(200));
    }
    return true;
}

void FastDriveWithoutProtection(emu::DriveSettings& settings) {
    settings.writeSpeedX = 52;
    settings.bufferKib = 256;
    settings.capabilities.underrunProtection = false;
}

TEST(SensePaths, AFastDriveRunsDryOnLiveAudio) {
    EmulatedRig rig(emu::MediumKind::CdR, FastDriveWithoutProtection);
    EXPECT_FALSE(KeepsUpWithLiveAudio(rig));
    EXPECT_TRUE(rig.Device().GetLastSense().Underrun() ||
                rig.Device().GetLastSense().InvalidAddressForWrite());
}

TEST(SensePaths, TheLowestWriteSpeedKeepsUpWithLiveAudio) {
    EmulatedRig rig(emu::MediumKind::CdR, FastDriveWithoutProtection);
    ASSERT_EQ(rig.Device().SetLowestWriteSpeed(), status::kOk);
    EXPECT_TRUE(KeepsUpWithLiveAudio(rig));
}

TEST(SensePaths, NotReadyDriveAnswersEveryMediumCommandSo) {
    EmulatedRig rig;
    emu::FaultPlan faults;
    faults.notReady = true;
    rig.Emulated().SetFaults(faults);
    CDevCmdRW& device = rig.Device();
    EXPECT_NE(device.TestUnitReady(), status::kOk);
    EXPECT_EQ(device.GetLastSense().key, sense::kKeyNotReady);
    DISC_INFO disc{};
    EXPECT_NE(device.ReadDiscInfo(disc), status::kOk);
    INQUIRYDATA inquiry{};
    EXPECT_EQ(device.Inquiry(inquiry), status::kOk) << "identity needs no medium";
}

constexpr int kReadChunk = 26;

struct Take {
    unsigned long start = 0;
    std::vector<std::uint8_t> data;
};

// Parameters, next writable address, 16-sector writes, cache flush and
// closing the track, as the recorder does it; closes the session when asked.
Take RecordTake(EmulatedRig& rig, int track, int chunks, bool closeSession, bool keepOpen) {
    CDevCmdRW& device = rig.Device();
    Take take;
    EXPECT_EQ(device.SetWriteParam(WriteParam::AudioTrackAtOnce(keepOpen)), status::kOk);
    EXPECT_EQ(device.GetNextWriteAdd(take.start), status::kOk);
    take.data = WriteChunks(device, take.start, chunks, static_cast<std::uint8_t>(track));
    EXPECT_EQ(device.SynCache(), status::kOk);
    rig.WaitUntilReady();
    EXPECT_EQ(device.CloseTrack(track), status::kOk);
    if (closeSession) {
        EXPECT_EQ(device.CloseSession(), status::kOk);
        rig.WaitUntilReady();
    }
    return take;
}

std::vector<std::uint8_t> ReadBack(CDevCmdROM& device, unsigned long start, std::size_t bytes) {
    std::vector<std::uint8_t> all(bytes);
    const std::size_t sectors = bytes / CDevCmdROM::kAudioSectorBytes;
    for (std::size_t done = 0; done < sectors; done += kReadChunk) {
        const int count = static_cast<int>(std::min<std::size_t>(kReadChunk, sectors - done));
        EXPECT_EQ(device.ReadCD_All(all.data() + done * CDevCmdROM::kAudioSectorBytes,
                                    static_cast<long>(count * CDevCmdROM::kAudioSectorBytes), count,
                                    start + done),
                  status::kOk)
            << "read at " << start + done;
    }
    return all;
}

SessionInfo ReadSessions(CDevCmdROM& device) {
    std::vector<unsigned char> toc(2048);
    EXPECT_EQ(device.ReadTocEx(toc.data(), static_cast<long>(toc.size()), 2, 0), status::kOk);
    return {toc.data() + 4, static_cast<int>(GetBe16(toc, 0)) - 2};
}

std::uint32_t TrackStart(const TocData& session, int track) {
    TocData::_Data data;
    EXPECT_TRUE(session.GetTrackData(track, data)) << "track " << track;
    EXPECT_EQ(data.Control() & 0x04, 0) << "an audio track";
    return MsfToLba({data.pmin, data.psec, data.pframe});
}

TEST(TaoSequence, TakesInOneOpenSessionFollowEachOther) {
    EmulatedRig rig;
    const Take first = RecordTake(rig, 1, 4, false, true);
    const Take second = RecordTake(rig, 2, 4, false, true);
    EXPECT_EQ(second.start, first.start + 64);

    CDevCmdRW& device = rig.Device();
    TRACK_INFO track{};
    ASSERT_EQ(device.ReadTrackInfoEx(track, TRACK_INFO_BY_TRACK, 2), status::kOk);
    EXPECT_EQ(track.track, 2);
    EXPECT_EQ(track.session, 1);
    EXPECT_EQ(track.start, 64U);
    EXPECT_EQ(track.size, 64U);
    EXPECT_FALSE(track.blank);
    TRACK_INFO invisible{};
    ASSERT_EQ(device.ReadTrackInfoEx(invisible, TRACK_INFO_BY_TRACK, 0xFF), status::kOk);
    EXPECT_TRUE(invisible.blank);
    EXPECT_TRUE(invisible.nextWritableValid);
    EXPECT_EQ(invisible.nextWritable, 128U);
    EXPECT_EQ(invisible.freeBlocks, MsfToLba({79, 59, 74}) - 128);

    DISC_INFO disc{};
    ASSERT_EQ(device.ReadDiscInfo(disc), status::kOk);
    EXPECT_EQ(disc.discStatus, disc::kStatusAppendable);
    EXPECT_EQ(disc.lastSessionState, disc::kSessionIncomplete);
    EXPECT_EQ(disc.sessions, 1);
    EXPECT_EQ(disc.firstTrack, 1);
    EXPECT_EQ(disc.lastTrackLastSession, 3) << "the invisible track counts";
    EXPECT_EQ(ReadBack(device, 0, first.data.size()), first.data);
}

TEST(TaoSequence, DiscAndOpenTrackSurviveARestart) {
    EmulatedRig rig;
    const Take first = RecordTake(rig, 1, 4, true, true);
    CDevCmdRW& device = rig.Device();
    ASSERT_EQ(device.SetWriteParam(WriteParam::AudioTrackAtOnce(true)), status::kOk);
    unsigned long next = 0;
    ASSERT_EQ(device.GetNextWriteAdd(next), status::kOk);
    const std::vector<std::uint8_t> written = WriteChunks(device, next, 3, 9);

    rig.Restart(); // killed mid-take: the track stays open
    CDevCmdRW& again = rig.Device();
    EXPECT_EQ(ReadBack(again, first.start, first.data.size()), first.data);
    EXPECT_EQ(again.CloseTrack(2), status::kOk) << "the open track can be closed later";
    EXPECT_EQ(again.CloseSession(), status::kOk);
    rig.WaitUntilReady();
    const SessionInfo sessions = ReadSessions(again);
    ASSERT_EQ(sessions.GetSessionCount(), 2);
    EXPECT_EQ(TrackStart(*sessions.GetTocData(2), 2), next);
    EXPECT_EQ(ReadBack(again, next, written.size()), written);
}

void NoWriting(emu::DriveSettings& settings) {
    settings.capabilities.cdR = false;
    settings.capabilities.cdRw = false;
    settings.capabilities.dvdRw = false;
    settings.capabilities.dvdPlusRw = false;
    settings.capabilities.dvdRam = false;
}

TEST(DriveChecks, ReadyExactlyWhenTheDriveHoldsADiscAndIsIdle) {
    EmulatedRig rig(emu::MediumKind::CdRw);
    EXPECT_FALSE(::disc::IsReady(nullptr));
    EXPECT_TRUE(::disc::IsReady(&rig.Device()));
    ASSERT_EQ(rig.Device().Blank(BLANK_MINIMAL), 0U);
    EXPECT_FALSE(::disc::IsReady(&rig.Device())) << "blanking";
    rig.WaitUntilReady();
    EXPECT_TRUE(::disc::IsReady(&rig.Device()));
    ASSERT_TRUE(rig.Emulated().RemoveDisc());
    EXPECT_FALSE(::disc::IsReady(&rig.Device()));
}

TEST(DriveChecks, AReaderIsNoWriterAndSaysSo) {
    EmulatedRig rig(emu::MediumKind::None, NoWriting);
    testsupport::ScriptedMessageBox box;
    const testsupport::ScopedMessageBoxHost host(box);
    CDevCmdROM* reader = rig.Drives().GetDequeItem(0);
    EXPECT_EQ(dynamic_cast<CDevCmdRW*>(reader), nullptr) << "listed as a reader";
    EXPECT_FALSE(::disc::IsWriter(reader));
    ASSERT_EQ(box.ShownCount(), 1U);
    EXPECT_EQ(box.ShownMessages()[0].text, lang::GetLangString("Message", 16));
    EXPECT_EQ(box.ShownMessages()[0].style, 64U);
}

TEST(DriveChecks, DriveListEntriesCarryLetterAndInquiryText) {
    EmulatedRig rig;
    const std::vector<::disc::DriveEntry> entries = ::disc::ListDrives(rig.Drives());
    ASSERT_EQ(entries.size(), 1U);
    EXPECT_EQ(entries[0].text, "D: SONDREL EMULATED WRITER 1.00");
    EXPECT_EQ(entries[0].device, rig.Drives().GetDequeItem(0));
    EXPECT_EQ(::disc::DriveOfEntry(rig.Drives(), entries[0].text), entries[0].device);
    EXPECT_EQ(::disc::DriveOfEntry(rig.Drives(), "E: nothing"), nullptr);
    EXPECT_EQ(::disc::DriveOfEntry(rig.Drives(), ""), nullptr);
    EXPECT_EQ(::disc::DriveOfEntry(rig.Drives(), "d"), nullptr);
}

class RecordingListener final : public emu::DiscEventListener {
public:
    void OnDiscEvent(const emu::DiscEvent& event) override { events.push_back(event); }
    std::vector<emu::DiscEvent> events;
};

// A drive that is not emulated, named like a device node.
class SilentDrive final : public Transport {
public:
    CommandOutcome Execute(const Command&) override { return {}; }
    [[nodiscard]] std::string Name() const override { return "/dev/sr0"; }
};

class Provider : public ::testing::Test {
protected:
    std::filesystem::path Parent() const { return std::filesystem::path(m_temp.Path()) / "drives"; }
    std::shared_ptr<emu::Clock> m_clock = std::make_shared<emu::ManualClock>();

private:
    testsupport::TempFolder m_temp;
};

std::vector<std::string> Names(const std::vector<std::unique_ptr<Transport>>& drives) {
    std::vector<std::string> names;
    for (const auto& drive : drives) {
        names.push_back(std::filesystem::path(drive->Name()).filename().string());
    }
    return names;
}

TEST_F(Provider, FirstStartWithoutAnyWriterCreatesOneWithABlankCdR) {
    EmulatedDriveProvider provider(Parent(), m_clock);
    const auto drives = provider.Drives(false);
    ASSERT_EQ(Names(drives), (std::vector<std::string>{emu::kDefaultDriveName}));
    const DevDeque list(CollectDrives(
        Parent() / "no-sysfs", {[&provider](bool listed) { return provider.Drives(listed); }}));
    ASSERT_EQ(list.GetDevCount(), 1);
    EXPECT_EQ(list.GetDequeItem(0)->GetMediumType(), MEDIUM_CD_R);
    EXPECT_EQ(list.GetDequeItem(0)->GetDeviceID(), 3);
}

TEST_F(Provider, ARealWriterMeansNoDefaultDrive) {
    EmulatedDriveProvider provider(Parent(), m_clock);
    EXPECT_TRUE(provider.Drives(true).empty());
    EXPECT_TRUE(emu::ListDriveFolders(Parent()).empty());
}

TEST_F(Provider, NoneInTheEnvironmentSwitchesEmulatedDrivesOff) {
    const char* before = std::getenv("SONDREL_DRIVES");
    const std::string saved = before != nullptr ? before : "";
    ::setenv("SONDREL_DRIVES", "none", 1);
    EXPECT_FALSE(EmulatedDriveProvider::ParentFromEnvironment().has_value());
    ::setenv("SONDREL_DRIVES", Parent().c_str(), 1);
    EXPECT_EQ(EmulatedDriveProvider::ParentFromEnvironment(), Parent());
    if (before != nullptr) {
        ::setenv("SONDREL_DRIVES", saved.c_str(), 1);
    } else {
        ::unsetenv("SONDREL_DRIVES");
    }
}

TEST_F(Provider, UnreadableDriveFolderIsLeftOutAndNamed) {
    ASSERT_FALSE(emu::CreateDriveFolder(Parent(), "good", 8).empty());
    ASSERT_FALSE(emu::CreateDriveFolder(Parent(), "bad", 8).empty());
    {
        std::ofstream broken(Parent() / "bad" / emu::kDriveSettingsFileName);
        broken << "[drive]\nwrite_speed=fast\n";
    }
    EmulatedDriveProvider provider(Parent(), m_clock);
    EXPECT_EQ(Names(provider.Drives(false)), (std::vector<std::string>{"good"}));
    ASSERT_EQ(provider.Problems().size(), 1U);
    EXPECT_NE(provider.Problems()[0].find("bad"), std::string::npos);
}

TEST_F(Provider, LettersStayWhenTheListIsBuiltAgain) {
    ASSERT_FALSE(emu::CreateDriveFolder(Parent(), "b", 8).empty());
    ASSERT_FALSE(emu::CreateDriveFolder(Parent(), "c", 8).empty());
    EmulatedDriveProvider provider(Parent(), m_clock);
    const DriveProvider source = [&provider](bool listed) { return provider.Drives(listed); };
    const DevDeque first(CollectDrives(Parent() / "no-sysfs", {source}));
    const DevDeque second(CollectDrives(Parent() / "no-sysfs", {source}));
    ASSERT_EQ(second.GetDevCount(), 2);
    for (int index = 0; index < 2; ++index) {
        EXPECT_EQ(first.GetDequeItem(index)->GetDeviceName(),
                  second.GetDequeItem(index)->GetDeviceName());
        EXPECT_EQ(first.GetDequeItem(index)->GetDeviceID(), 3 + index);
        EXPECT_EQ(provider.Find(*first.GetDequeItem(index)),
                  provider.Find(*second.GetDequeItem(index)))
            << "one drive object per folder";
    }
}

} // namespace
} // namespace quarnel::test
