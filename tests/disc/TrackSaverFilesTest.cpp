// Saving tracks onto real (and full) folders: names from titles or numbers, unchecked rows,
// unwritable folders, hostile titles, unreadable sectors, a full disk, a cancel.
#include "components/vesplin/EncodeFile.h"
#include "disc/TrackListReader.h"
#include "disc/TrackRowsTable.h"
#include "disc/TrackSaver.h"
#include "lang/LangText.h"
#include "tests/components/quarnel/integration/EmulatedRig.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sys/mount.h>
#include <thread>
#include <unistd.h>

namespace disc {
namespace {

namespace fs = std::filesystem;
constexpr std::uint64_t kSectorBytes = 2352;

class TrackSaverFilesTest : public ::testing::Test {
protected:
    // A pressed CD of audio tracks of `blocks` sectors each, titled `titles`.
    void LoadDisc(const std::vector<std::string>& titles, std::uint32_t blocks) {
        const fs::path folder = m_rig.Parent() / "src";
        fs::create_directories(folder);
        const auto count = static_cast<std::uint32_t>(titles.size());
        const std::vector<std::uint8_t> audio = testsupport::AudioSectors(0, count * blocks, 5);
        std::ofstream(folder / "d.bin", std::ios::binary)
            .write(reinterpret_cast<const char*>(audio.data()),
                   static_cast<std::streamsize>(audio.size()));
        std::ofstream cue(folder / "d.cue");
        cue << "FILE \"d.bin\" BINARY\n";
        for (std::uint32_t t = 0; t < count; ++t) {
            const std::uint32_t start = t * blocks;
            char index[16];
            std::snprintf(index, sizeof index, "%02u:%02u:%02u", start / 4500, start / 75 % 60,
                          start % 75);
            cue << "  TRACK 0" << t + 1 << " AUDIO\n    TITLE \"" << titles[t]
                << "\"\n    INDEX 01 " << index << "\n";
        }
        cue.close();
        std::string error;
        ASSERT_TRUE(m_rig.Emulated().LoadImage(folder / "d.cue", &error)) << error;
        TrackListReader(m_rows, m_addresses).ReadDisc(&m_rig.Device());
        ASSERT_EQ(m_rows.RowCount(), static_cast<int>(count));
        fs::create_directories(m_out);
    }

    void Save(SaveFormat format) {
        ASSERT_TRUE(m_saver.Start(&m_rig.Device(), m_rows, m_addresses, m_out.string(), format));
        m_saver.Wait();
    }

    [[nodiscard]] std::map<std::string, std::uintmax_t> Files(const fs::path& folder) const {
        std::map<std::string, std::uintmax_t> files;
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path().filename() != kLogFileName) {
                files[entry.path().filename().string()] =
                    entry.is_regular_file() ? entry.file_size() : 0;
            }
        }
        return files;
    }

    quarnel::test::EmulatedRig m_rig{quarnel::emu::MediumKind::None};
    TrackRowsTable m_rows;
    TrackAddressTable m_addresses;
    fs::path m_out = m_rig.Parent() / "a" / "b" / "out";
    CAuEncode m_encoder{(m_rig.Parent() / "SoftSet.ini").string(),
                        std::make_unique<vesplin::EncodeFile>()};
    TrackSaver m_saver{m_encoder};
    testsupport::ScriptedMessageBox m_box;
    testsupport::ScopedMessageBoxHost m_host{m_box};
};

// The sound of each file is checked byte for byte by the window's save test.
TEST_F(TrackSaverFilesTest, WavFilesTakeTitlesOrNumbersAndReplaceNoFile) {
    LoadDisc({"First", "Second", ""}, 30);
    std::ofstream(m_out / "Track3.wav") << "kept";
    std::ofstream(m_out / "Track3-a.wav") << "kept";
    m_rows.SetChecked(1, false);
    Save(SaveFormat::Wav);
    const std::uint64_t size = 44 + 30 * kSectorBytes;
    EXPECT_EQ(Files(m_out), (std::map<std::string, std::uintmax_t>{{"First.wav", size},
                                                                   {"Track3-a-a.wav", size},
                                                                   {"Track3-a.wav", 4},
                                                                   {"Track3.wav", 4}}));
}

TEST_F(TrackSaverFilesTest, NoCheckedRowEndsAtOnceAndAnUnwritableFolderSaysSo) {
    LoadDisc({"One", "Two"}, 30);
    m_rows.SetChecked(0, false);
    m_rows.SetChecked(1, false);
    Save(SaveFormat::Wav);
    EXPECT_TRUE(Files(m_out).empty());
    m_rows.SetChecked(1, true);
    m_out /= "missing";
    Save(SaveFormat::Wav);
    ASSERT_EQ(m_box.ShownCount(), 1U);
    EXPECT_EQ(m_box.ShownMessages()[0].text, lang::GetLangString("Message", 27));
    EXPECT_FALSE(fs::exists(m_out));
}

TEST_F(TrackSaverFilesTest, AnyTitleBecomesASafeNameInsideTheFolder) {
    // 299 times ä in the sheet's Latin-1, two bytes each in UTF-8: the name
    // is cut before the character that would cross 200 bytes.
    std::string cut = "x";
    for (int i = 0; i < 99; ++i) {
        cut += "\xC3\xA4";
    }
    LoadDisc({"../../escaped", "x" + std::string(299, '\xE4'), "-rf x/y\x1b[0m", "..."}, 30);
    Save(SaveFormat::Wav);

    const std::uint64_t size = 44 + 30 * kSectorBytes;
    EXPECT_EQ(Files(m_out), (std::map<std::string, std::uintmax_t>{{"_.._escaped.wav", size},
                                                                   {cut + ".wav", size},
                                                                   {"rf x_y[0m.wav", size},
                                                                   {"Track4.wav", size}}));
    EXPECT_EQ(Files(m_rig.Parent() / "a").size(), 1u) << "nothing beside the folder";
    EXPECT_EQ(m_box.ShownCount(), 0u);
}

TEST_F(TrackSaverFilesTest, SectorsThatStayUnreadableAreNamedWithTheirTrackAndCount) {
    LoadDisc({"One", "Two"}, 40);
    quarnel::emu::FaultPlan faults;
    faults.unreadable = {{45, 47}};
    m_rig.Emulated().SetFaults(faults);
    Save(SaveFormat::Wav);

    const std::vector<TrackSaveOutcome> outcomes = m_saver.Outcomes();
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[0].unreadableSectors, 0u);
    EXPECT_EQ(outcomes[1].unreadableSectors, 3u);
    ASSERT_EQ(m_box.ShownCount(), 1u);
    EXPECT_EQ(m_box.ShownMessages()[0].text,
              "Track 2: 3 of 40 sectors could not be read and are silence in \"" +
                  (m_out / "Two.wav").string() + "\".");
}

TEST_F(TrackSaverFilesTest, AFullDiskLeavesNoUnfinishedFileAndNamesIt) {
    LoadDisc({"One", "Two", "Three"}, 50);
    // Room for the first file (29 pages of 4 KiB) and not for the second.
    if (::geteuid() != 0 ||
        ::mount("tmpfs", m_out.c_str(), "tmpfs", 0, "size=160k,mode=0755") != 0) {
        GTEST_SKIP() << "a small tmpfs cannot be mounted here";
    }
    Save(SaveFormat::Wav);
    const auto files = Files(m_out);
    const std::vector<TrackSaveOutcome> outcomes = m_saver.Outcomes();
    ::umount(m_out.c_str());

    EXPECT_EQ(files, (std::map<std::string, std::uintmax_t>{{"One.wav", 44 + 50 * kSectorBytes}}));
    ASSERT_EQ(outcomes.size(), 2u) << "the save ends at the full disk";
    EXPECT_EQ(outcomes[1].result, TrackSaveOutcome::Result::Failed);
    ASSERT_EQ(m_box.ShownCount(), 1u);
    EXPECT_NE(m_box.ShownMessages()[0].text.find((m_out / "Two.wav").string()), std::string::npos);
}

TEST_F(TrackSaverFilesTest, ACancelledTrackLeavesNoFile) {
    LoadDisc({"Long"}, 3000);
    ASSERT_TRUE(
        m_saver.Start(&m_rig.Device(), m_rows, m_addresses, m_out.string(), SaveFormat::Mp3));
    EXPECT_FALSE(
        m_saver.Start(&m_rig.Device(), m_rows, m_addresses, m_out.string(), SaveFormat::Wav))
        << "one save at a time";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (m_saver.Tick().percent == 0 && !m_saver.Tick().finished &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    m_saver.Cancel();
    m_saver.Wait();
    ASSERT_EQ(m_saver.Outcomes().size(), 1u);
    EXPECT_EQ(m_saver.Outcomes()[0].result, TrackSaveOutcome::Result::Cancelled);
    EXPECT_TRUE(Files(m_out).empty());
    EXPECT_EQ(m_box.ShownCount(), 0u);
}

} // namespace
} // namespace disc
