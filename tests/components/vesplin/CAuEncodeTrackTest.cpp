// Saving a disc track where the track saver and the command line do not go: unreadable and
// missing sectors, a stop from another thread, bad arguments and slow sectors.
#include "components/quarnel/device/CDevCmdROM.h"
#include "components/quarnel/emu/DriveFolders.h"
#include "components/quarnel/emu/DriveSettingsFile.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/emu/SteadyClock.h"
#include "components/vesplin/CAuEncode.h"
#include "components/vesplin/EncodeFile.h"
#include "components/vesplin/WavHeader.h"
#include "tests/components/vesplin/DecodedMp3.h"
#include "tests/components/vesplin/SameSound.h"
#include "tests/components/vesplin/ToneSignal.h"
#include "tests/engine/TestStream.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <future>
#include <stdexcept>
#include <thread>

using namespace vesplintest;
using EncodeError = CAuEncode::EncodeError;

namespace {

constexpr std::uint32_t kSectorBytes = 2352;
// Track 1: four seconds of the tone signal; track 2: two seconds of a
// pseudo-random byte pattern, which shows any byte out of place.
constexpr std::uint32_t kTrack1Sectors = 4 * 75;
constexpr std::uint32_t kTrack2Sectors = 2 * 75;
constexpr std::uint32_t kTrack2First = kTrack1Sectors;
constexpr std::uint32_t kTrack2Last = kTrack1Sectors + kTrack2Sectors - 1;
constexpr std::size_t kDiscBytes = std::size_t{kTrack1Sectors + kTrack2Sectors} * kSectorBytes;

// A drive's transport that holds its n-th command until the test lets it go,
// so that the test can act while a READ CD is in progress.
class HoldingTransport : public quarnel::Transport {
public:
    HoldingTransport(std::unique_ptr<quarnel::Transport> inner, int holdCommand)
        : m_inner(std::move(inner)), m_holdCommand(holdCommand) {}

    quarnel::CommandOutcome Execute(const quarnel::Command& command) override {
        if (++m_commands == m_holdCommand) {
            m_reached.set_value();
            m_release.get_future().wait();
        }
        return m_inner->Execute(command);
    }
    [[nodiscard]] std::string Name() const override { return m_inner->Name(); }

    // False when the command never came (the run ended before it).
    bool WaitUntilHeld() {
        return m_reached.get_future().wait_for(std::chrono::seconds(20)) ==
               std::future_status::ready;
    }
    void Release() { m_release.set_value(); }

private:
    std::unique_ptr<quarnel::Transport> m_inner;
    int m_holdCommand;
    int m_commands = 0;
    std::promise<void> m_reached;
    std::promise<void> m_release;
};

class CAuEncodeTrackTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::vector<std::uint8_t> tones = AsBytes(MakeToneSignal(kTrack1Sectors * 588));
        m_disc.assign(tones.begin(), tones.end());
        m_disc.resize(kDiscBytes);
        enginetest::FillStream(m_disc.data() + tones.size(), 0, kDiscBytes - tones.size());
        m_folder.Write("image/disc.bin",
                       std::string_view(reinterpret_cast<const char*>(m_disc.data()), kDiscBytes));
        m_folder.Write("image/disc.cue", "FILE \"disc.bin\" BINARY\n"
                                         "  TRACK 01 AUDIO\n"
                                         "    INDEX 01 00:00:00\n"
                                         "  TRACK 02 AUDIO\n"
                                         "    INDEX 01 00:04:00\n");
        std::string error;
        m_driveFolder = quarnel::emu::CreateDriveFolder(m_folder.Path(), "drive", 0, &error);
        ASSERT_FALSE(m_driveFolder.empty()) << error;
        // The tests count the drive's commands: no unit attention or spin-up
        // after the disc goes in.
        const auto ini = m_driveFolder / quarnel::emu::kDriveSettingsFileName;
        quarnel::emu::DriveSettings settings = *quarnel::emu::LoadDriveSettings(ini);
        settings.unitAttention = false;
        settings.spinUpMs = 0;
        ASSERT_TRUE(quarnel::emu::SaveDriveSettings(ini, settings));
    }

    // The emulated drive with the pressed disc in it; `faults` applied.
    std::unique_ptr<quarnel::emu::EmulatedDrive>
    OpenDrive(const quarnel::emu::FaultPlan& faults = {}) {
        std::string error;
        auto drive = quarnel::emu::EmulatedDrive::Open(
            m_driveFolder, std::make_shared<quarnel::emu::SteadyClock>(), &error);
        EXPECT_NE(drive, nullptr) << error;
        if (drive) {
            EXPECT_TRUE(drive->LoadImage(m_folder.File("image/disc.cue"), &error)) << error;
            drive->SetFaults(faults);
        }
        return drive;
    }

    std::unique_ptr<CAuEncode> MakeEncoder() const {
        return std::make_unique<CAuEncode>(m_folder.File("SoftSet.ini"),
                                           std::make_unique<vesplin::EncodeFile>());
    }

    // The disc's bytes of sectors [first, first + count).
    std::string DiscBytes(std::uint32_t first, std::uint32_t count) const {
        return {reinterpret_cast<const char*>(m_disc.data()) + std::size_t{first} * kSectorBytes,
                std::size_t{count} * kSectorBytes};
    }

    static std::string WavHeader(std::uint32_t dataBytes) {
        const auto header = vesplin::MakeWavHeader(dataBytes);
        return {reinterpret_cast<const char*>(header.data()), header.size()};
    }

    testsupport::TempFolder m_folder;
    std::filesystem::path m_driveFolder;
    std::vector<std::uint8_t> m_disc;
};

// Three bad sectors inside the second chunk, and the chunk after them.
const std::vector<quarnel::emu::BlockRange> kBadSectors = {{kTrack2First + 30, kTrack2First + 32},
                                                           {kTrack2First + 60, kTrack2First + 60}};

TEST_F(CAuEncodeTrackTest, UnreadableSectorsBecomeCountedSilenceAndTheRestIsExact) {
    quarnel::emu::FaultPlan faults;
    faults.unreadable = kBadSectors;
    quarnel::CDevCmdROM device(OpenDrive(faults), 3);
    const auto encoder = MakeEncoder();
    ASSERT_TRUE(encoder->Encode(&device, kTrack2First, kTrack2Last, m_folder.File("t2.wav")));
    EXPECT_EQ(encoder->GetUnreadableSectors(), 4u);
    std::string expected = DiscBytes(kTrack2First, kTrack2Sectors);
    expected.replace(30 * kSectorBytes, 3 * kSectorBytes, 3 * kSectorBytes, '\0');
    expected.replace(60 * kSectorBytes, kSectorBytes, kSectorBytes, '\0');
    EXPECT_TRUE(m_folder.Read("t2.wav") == WavHeader(kTrack2Sectors * kSectorBytes) + expected);
}

TEST_F(CAuEncodeTrackTest, SectorsBeyondTheDiscEndAreSilenceNotAHang) {
    quarnel::CDevCmdROM device(OpenDrive(), 3);
    const auto encoder = MakeEncoder();
    // An end address past the lead-out, as an open disc's next writable
    // address can give.
    ASSERT_TRUE(encoder->Encode(&device, kTrack2First, kTrack2Last + 40, m_folder.File("t.wav")));
    EXPECT_EQ(encoder->GetUnreadableSectors(), 40u);
    const std::string file = m_folder.Read("t.wav");
    ASSERT_EQ(file.size(), 44u + (kTrack2Sectors + 40) * kSectorBytes);
    EXPECT_TRUE(file.substr(44, kTrack2Sectors * kSectorBytes) ==
                DiscBytes(kTrack2First, kTrack2Sectors));
    EXPECT_EQ(file.find_first_not_of('\0', 44 + kTrack2Sectors * kSectorBytes), std::string::npos);
}

TEST_F(CAuEncodeTrackTest, EncodeStopFromAnotherThreadEndsWithAValidShorterWav) {
    // The drive's commands: READ CD of chunk 1, 2, 3 ...; hold the third.
    auto holding = std::make_unique<HoldingTransport>(OpenDrive(), 3);
    HoldingTransport& transport = *holding;
    quarnel::CDevCmdROM device(std::move(holding), 3);
    const auto encoder = MakeEncoder();
    auto saving = std::async(std::launch::async, [&] {
        return encoder->Encode(&device, kTrack2First, kTrack2Last, m_folder.File("t2.wav"));
    });
    ASSERT_TRUE(transport.WaitUntilHeld());
    encoder->EncodeStop();
    transport.Release();
    EXPECT_FALSE(saving.get());
    EXPECT_EQ(encoder->Encode_GetError(), EncodeError::None);
    // The chunk in progress is finished and kept; nothing after it is read.
    const std::uint32_t sectors = 3 * 26;
    EXPECT_EQ(encoder->GetEncodeProgress(), static_cast<int>(sectors * 100 / kTrack2Sectors));
    EXPECT_TRUE(m_folder.Read("t2.wav") ==
                WavHeader(sectors * kSectorBytes) + DiscBytes(kTrack2First, sectors));
}

TEST_F(CAuEncodeTrackTest, BadArgumentsAndAnUncreatableFileAreRefused) {
    quarnel::CDevCmdROM device(OpenDrive(), 3);
    const auto encoder = MakeEncoder();
    EXPECT_FALSE(encoder->Encode(nullptr, 0, 10, m_folder.File("a.wav")));
    EXPECT_EQ(encoder->Encode_GetError(), EncodeError::BadArgument);
    EXPECT_FALSE(encoder->Encode(&device, 10, 9, m_folder.File("a.wav")));
    EXPECT_EQ(encoder->Encode_GetError(), EncodeError::BadArgument);
    EXPECT_FALSE(std::filesystem::exists(m_folder.File("a.wav")));
    EXPECT_FALSE(encoder->Encode(&device, 0, 10, m_folder.File("no/folder/a.wav")));
    EXPECT_EQ(encoder->Encode_GetError(), EncodeError::CannotCreate);
}

TEST_F(CAuEncodeTrackTest, SectorsThatReadOnlySlowlyAreReadAgainAtTheLowestSpeed) {
    quarnel::emu::FaultPlan faults;
    faults.readableOnlySlowly = kBadSectors;
    quarnel::CDevCmdROM device(OpenDrive(faults), 3);
    const auto encoder = MakeEncoder();
    ASSERT_TRUE(encoder->Encode(&device, kTrack2First, kTrack2Last, m_folder.File("t2.wav")));
    EXPECT_EQ(encoder->GetUnreadableSectors(), 0u);
    EXPECT_TRUE(m_folder.Read("t2.wav") ==
                WavHeader(kTrack2Sectors * kSectorBytes) + DiscBytes(kTrack2First, kTrack2Sectors));
}

} // namespace

namespace {

// A drive's transport whose n-th command throws, as one out of memory would.
class ThrowingTransport : public quarnel::Transport {
public:
    ThrowingTransport(std::unique_ptr<quarnel::Transport> inner, int throwingCommand)
        : m_inner(std::move(inner)), m_throwingCommand(throwingCommand) {}
    quarnel::CommandOutcome Execute(const quarnel::Command& command) override {
        if (++m_commands == m_throwingCommand) {
            throw std::runtime_error("the drive's reply could not be kept");
        }
        return m_inner->Execute(command);
    }
    [[nodiscard]] std::string Name() const override { return m_inner->Name(); }

private:
    std::unique_ptr<quarnel::Transport> m_inner;
    int m_throwingCommand;
    int m_commands = 0;
};

// The drive is read on a thread of its own: what goes wrong there reaches the
// save, after the chunks read before it are in the file.
TEST_F(CAuEncodeTrackTest, AFailureOfTheReadingThreadReachesTheSaveAfterTheChunksBefore) {
    quarnel::CDevCmdROM device(std::make_unique<ThrowingTransport>(OpenDrive(), 4), 3);
    const auto encoder = MakeEncoder();
    EXPECT_THROW(encoder->Encode(&device, kTrack2First, kTrack2Last, m_folder.File("t2.wav")),
                 std::runtime_error);
    const std::string saved = m_folder.Read("t2.wav");
    EXPECT_TRUE(saved.substr(WavHeader(0).size()) == DiscBytes(kTrack2First, 3 * 26));
}

} // namespace
