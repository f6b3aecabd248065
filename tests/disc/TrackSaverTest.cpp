// Saving disc tracks into files through the worker, the encoder and the
// emulated drive: WAV files bit-exact against the disc's sectors, the "-a"
// naming, unchecked rows, an unwritable folder and cancelling.
#include "disc/TrackSaver.h"
#include "components/vesplin/EncodeFile.h"
#include "disc/TrackListReader.h"
#include "disc/TrackRowsTable.h"
#include "lang/LangText.h"
#include "tests/disc/DiscFixtures.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace disc {
namespace {

constexpr std::uint32_t kBlocks = 300;
constexpr std::size_t kSectorBytes = 2352;
constexpr std::size_t kWavHeaderBytes = 44;

class TrackSaverTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(m_rig.Emulated().LoadImage(test::WriteMixedCue(m_rig.Parent() / "src", kBlocks),
                                               &error))
            << error;
        TrackListReader(m_rows, m_addresses).ReadDisc(&m_rig.Device());
        ASSERT_EQ(m_rows.RowCount(), 3);
        std::filesystem::create_directories(m_out);
    }

    // Saves and waits for the end the way the progress window's timer does.
    void Save(SaveFormat format, const std::string& folder) {
        ASSERT_TRUE(m_saver.Start(&m_rig.Device(), m_rows, m_addresses, folder, format));
        while (!m_saver.Tick().finished) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        m_saver.Wait();
    }

    [[nodiscard]] std::vector<std::string> SavedFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_out)) {
            if (entry.path().filename() != kLogFileName) {
                names.push_back(entry.path().filename().string());
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::string Read(const std::filesystem::path& path) {
        std::string bytes(std::filesystem::file_size(path), '\0');
        std::ifstream(path, std::ios::binary)
            .read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return bytes;
    }

    // The disc's bytes of track `track` (1-3).
    static std::string TrackBytes(int track) {
        const std::vector<std::uint8_t> all =
            testsupport::AudioSectors(0, 4 * kBlocks, test::kMixedSeed);
        const std::size_t first = static_cast<std::size_t>(track - 1) * kBlocks * kSectorBytes;
        return {reinterpret_cast<const char*>(all.data()) + first, kBlocks * kSectorBytes};
    }

    quarnel::test::EmulatedRig m_rig{quarnel::emu::MediumKind::None};
    TrackRowsTable m_rows;
    TrackAddressTable m_addresses;
    std::filesystem::path m_out = m_rig.Parent() / "out";
    CAuEncode m_encoder{(m_rig.Parent() / "SoftSet.ini").string(),
                        std::make_unique<vesplin::EncodeFile>()};
    TrackSaver m_saver{m_encoder};
};

TEST_F(TrackSaverTest, WavFilesHoldTheTracksSectorsAndTakeTitlesOrNumbers) {
    std::ofstream(m_out / "Track3.wav") << "kept";
    std::ofstream(m_out / "Track3-a.wav") << "kept";
    m_rows.SetChecked(1, false);
    Save(SaveFormat::Wav, m_out.string()); // no trailing '/': one is added

    EXPECT_EQ(SavedFiles(), (std::vector<std::string>{"First.wav", "Track3-a-a.wav", "Track3-a.wav",
                                                      "Track3.wav"}));
    EXPECT_EQ(Read(m_out / "Track3.wav"), "kept");
    for (const auto& [name, track] :
         {std::pair{std::string("First.wav"), 1}, std::pair{std::string("Track3-a-a.wav"), 3}}) {
        const std::string file = Read(m_out / name);
        ASSERT_EQ(file.size(), kWavHeaderBytes + kBlocks * kSectorBytes) << name;
        EXPECT_EQ(file.substr(0, 4), "RIFF");
        // Sectors start..end, both included: end is the next track's start - 1.
        EXPECT_TRUE(file.substr(kWavHeaderBytes) == TrackBytes(track))
            << name << " differs from the disc";
    }
}

TEST_F(TrackSaverTest, NoCheckedRowEndsAtOnceAndAnUnwritableFolderSaysSo) {
    for (int row = 0; row < m_rows.RowCount(); ++row) {
        m_rows.SetChecked(row, false);
    }
    testsupport::ScriptedMessageBox box;
    const testsupport::ScopedMessageBoxHost host(box);
    Save(SaveFormat::Wav, m_out.string());
    EXPECT_TRUE(SavedFiles().empty());

    m_rows.SetChecked(2, true);
    Save(SaveFormat::Wav, (m_out / "missing" / "deeper").string());
    ASSERT_EQ(box.ShownCount(), 1U);
    EXPECT_EQ(box.ShownMessages()[0].text, lang::GetLangString("Message", 27));
    EXPECT_FALSE(std::filesystem::exists(m_out / "missing"));
}

TEST_F(TrackSaverTest, CancelAnsweredNoGoesOnAndYesStopsAfterTheCurrentTrack) {
    testsupport::ScriptedMessageBox box({util::IDNO, util::IDYES});
    const testsupport::ScopedMessageBoxHost host(box);
    ASSERT_TRUE(
        m_saver.Start(&m_rig.Device(), m_rows, m_addresses, m_out.string(), SaveFormat::Mp3));
    EXPECT_FALSE(ConfirmSaveCancel());
    EXPECT_FALSE(
        m_saver.Start(&m_rig.Device(), m_rows, m_addresses, m_out.string(), SaveFormat::Wav))
        << "one save at a time";
    m_saver.Wait();
    EXPECT_EQ(SavedFiles().size(), 3U) << "No leaves the save running";

    std::filesystem::remove_all(m_out);
    std::filesystem::create_directories(m_out);
    ASSERT_TRUE(
        m_saver.Start(&m_rig.Device(), m_rows, m_addresses, m_out.string(), SaveFormat::Mp3));
    ASSERT_TRUE(ConfirmSaveCancel());
    m_saver.Cancel();
    EXPECT_TRUE(m_saver.Tick().finished);
    m_saver.Wait();
    EXPECT_LE(SavedFiles().size(), 1U) << "no track after the one being written";
    ASSERT_EQ(box.ShownCount(), 2U);
    EXPECT_EQ(box.ShownMessages()[1].text, lang::GetLangString("Message", 29));
    EXPECT_EQ(box.ShownMessages()[1].style, util::MB_YESNO | util::MB_ICONQUESTION);
}

} // namespace
} // namespace disc
