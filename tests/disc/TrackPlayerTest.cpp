// Playing tracks of a pressed disc in the emulated drive: through the file
// output bit-exact against the disc (less the track's last block), and
// through a gated output for the buttons: Pre/Next at the ends of the list,
// pause and resume, a seek to the end.
#include "disc/TrackPlayer.h"
#include "disc/TrackListReader.h"
#include "disc/TrackRowsTable.h"
#include "lang/LangText.h"
#include "platform/wave/WaveOpen.h"
#include "platform/wave/WaveOut.h"
#include "tests/disc/DiscFixtures.h"
#include "tests/disc/GatedSink.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

using namespace platform::wave;

namespace disc {
namespace {

constexpr std::size_t kBlock = TrackPlayer::kBlockBytes;
constexpr int kMaxPolls = 3000;

void NoSleep(int /*ms*/) {}

class TrackPlayerTest : public ::testing::Test {
protected:
    // A pressed disc of three audio tracks of `blocks` sectors and its list.
    void LoadDisc(std::uint32_t blocks) {
        m_blocks = blocks;
        std::string error;
        ASSERT_TRUE(
            m_rig.Emulated().LoadImage(test::WriteMixedCue(m_rig.Parent() / "src", blocks), &error))
            << error;
        TrackListReader(m_rows, m_addresses).ReadDisc(&m_rig.Device());
        ASSERT_EQ(m_rows.RowCount(), 3);
    }

    // A player whose output is the gated sink, with no waits.
    std::unique_ptr<TrackPlayer> GatedPlayer() {
        auto player = std::make_unique<TrackPlayer>(
            NoSleep, [record = m_record](HWAVEOUT* handle, UINT, const WAVEFORMATEX* format,
                                         DWORD_PTR callback, DWORD_PTR instance) {
                return waveOutOpenSink(handle, std::make_unique<test::GatedSink>(record), format,
                                       callback, instance, CALLBACK_FUNCTION);
            });
        player->SetDevice(&m_rig.Device(), &m_rows);
        return player;
    }

    // Runs timer 1 until playback ends; the slider positions it gave.
    static std::vector<int> RunToEnd(TrackPlayer& player) {
        std::vector<int> slider;
        for (int poll = 0; poll < kMaxPolls; ++poll) {
            const std::optional<int> position = player.Tick();
            if (!position) {
                return slider;
            }
            slider.push_back(*position);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ADD_FAILURE() << "playback never ended";
        return slider;
    }

    // Sectors [first, first + count) of track `track` as the disc holds them.
    [[nodiscard]] std::string TrackBytes(int track, std::uint32_t first,
                                         std::uint32_t count) const {
        const std::uint32_t at = static_cast<std::uint32_t>(track - 1) * m_blocks + first;
        const std::vector<std::uint8_t> audio =
            testsupport::AudioSectors(0, at + count, test::kMixedSeed);
        return {reinterpret_cast<const char*>(audio.data()) + std::size_t{at} * 2352,
                std::size_t{count} * 2352};
    }

    bool WaitForPaused(bool paused) {
        for (int poll = 0; poll < kMaxPolls; ++poll) {
            {
                const std::lock_guard lock(m_record->mutex);
                if (m_record->paused == paused) {
                    return true;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    // The gated sink stands in for the output, which must exist to be chosen.
    testsupport::ScopedEnv m_nullOutput{"SONDREL_AUDIO_OUTPUT", "null"};
    quarnel::test::EmulatedRig m_rig{quarnel::emu::MediumKind::None};
    TrackRowsTable m_rows;
    TrackAddressTable m_addresses;
    std::uint32_t m_blocks = 0;
    std::shared_ptr<test::SinkRecord> m_record = std::make_shared<test::SinkRecord>();
};

TEST_F(TrackPlayerTest, FileOutputGetsTheTrackLessItsLastBlock) {
    LoadDisc(450); // three blocks: two are played
    const std::filesystem::path wav = m_rig.Parent() / "played.wav";
    const testsupport::ScopedEnv output("SONDREL_AUDIO_OUTPUT", ("file:" + wav.string()).c_str());
    TrackPlayer player(NoSleep);
    player.SetDevice(&m_rig.Device(), &m_rows);
    m_rows.SelectRow(1);
    ASSERT_TRUE(player.Play(PlayMode::Selected));
    const std::vector<int> slider = RunToEnd(player);
    EXPECT_TRUE(
        std::all_of(slider.begin(), slider.end(), [](int p) { return p >= 0 && p <= 100; }));

    std::string file(std::filesystem::file_size(wav), '\0');
    std::ifstream(wav, std::ios::binary)
        .read(file.data(), static_cast<std::streamsize>(file.size()));
    ASSERT_EQ(file.size(), 44 + 2 * kBlock);
    EXPECT_TRUE(file.substr(44) == TrackBytes(2, 0, 300)) << "not the disc's sound";
    EXPECT_EQ(m_rows.SelectedRow(), 1);
}

TEST_F(TrackPlayerTest, PreAndNextStopAtTheEndsOfTheList) {
    LoadDisc(450);
    m_record->allowance = 0; // nothing is played: only the rows matter
    std::unique_ptr<TrackPlayer> player = GatedPlayer();
    m_rows.SelectRow(0);
    EXPECT_TRUE(player->Previous());
    EXPECT_EQ(m_rows.SelectedRow(), 0) << "the first row stays the first";
    EXPECT_TRUE(player->Next());
    EXPECT_TRUE(player->Next());
    EXPECT_EQ(m_rows.SelectedRow(), 2);
    EXPECT_TRUE(player->Next());
    EXPECT_EQ(m_rows.SelectedRow(), 2) << "the last row stays the last";
    EXPECT_TRUE(player->Previous());
    EXPECT_EQ(m_rows.SelectedRow(), 1);
    player->Stop();
    EXPECT_EQ(player->Tick(), std::nullopt);

    TrackPlayer unset(NoSleep);
    EXPECT_FALSE(unset.Play(PlayMode::Selected)) << "no device, no list";
}

TEST_F(TrackPlayerTest, PauseAndResumeLoseNothing) {
    LoadDisc(450);
    m_record->allowance = kBlock / 2;
    std::unique_ptr<TrackPlayer> player = GatedPlayer();
    m_rows.SelectRow(0);
    ASSERT_TRUE(player->Play(PlayMode::Selected));
    player->Pause();
    EXPECT_TRUE(player->IsPaused());
    EXPECT_TRUE(WaitForPaused(true));
    ASSERT_TRUE(player->Tick().has_value()) << "pausing does not end playback";
    EXPECT_TRUE(player->PlayButton());
    EXPECT_FALSE(player->IsPaused());
    EXPECT_TRUE(WaitForPaused(false));
    m_record->Allow(std::numeric_limits<std::size_t>::max() / 2);
    RunToEnd(*player);
    EXPECT_TRUE(m_record->Bytes() == TrackBytes(1, 0, 300)) << "audio lost or repeated";
}

TEST_F(TrackPlayerTest, SeekToTheEndShortensThePlayback) {
    LoadDisc(1500); // ten blocks: nine would be played
    m_record->allowance = 0;
    std::unique_ptr<TrackPlayer> player = GatedPlayer();
    m_rows.SelectRow(2);
    ASSERT_TRUE(player->Play(PlayMode::Selected));
    player->Seek(100);
    EXPECT_FALSE(player->IsPaused());
    m_record->Allow(std::numeric_limits<std::size_t>::max() / 2);
    RunToEnd(*player);
    const std::string played = m_record->Bytes();
    ASSERT_GE(played.size(), kBlock);
    EXPECT_LT(played.size(), 9 * kBlock);
    EXPECT_EQ(played.size() % kBlock, 0U);
    EXPECT_TRUE(played.substr(0, kBlock) == TrackBytes(3, 0, 150))
        << "blocks already read are played first";
}

TEST_F(TrackPlayerTest, NoOutputDeviceSaysSo) {
    LoadDisc(450);
    const testsupport::ScopedEnv output("SONDREL_AUDIO_OUTPUT", "alsa:sondrel-no-such-device");
    testsupport::ScriptedMessageBox box;
    const testsupport::ScopedMessageBoxHost host(box);
    TrackPlayer player(NoSleep);
    player.SetDevice(&m_rig.Device(), &m_rows);
    EXPECT_FALSE(player.Play(PlayMode::Selected));
    ASSERT_EQ(box.ShownCount(), 1U);
    EXPECT_EQ(box.ShownMessages()[0].text, lang::GetLangString("Message", 1));
}

TEST_F(TrackPlayerTest, ANewTrackOverARunningOneWaitsTwoSeconds) {
    LoadDisc(450);
    m_record->allowance = 0;
    std::vector<int> sleeps;
    TrackPlayer player([&sleeps](int ms) { sleeps.push_back(ms); },
                       [record = m_record](HWAVEOUT* handle, UINT, const WAVEFORMATEX* format,
                                           DWORD_PTR callback, DWORD_PTR instance) {
                           return waveOutOpenSink(handle, std::make_unique<test::GatedSink>(record),
                                                  format, callback, instance, CALLBACK_FUNCTION);
                       });
    player.SetDevice(&m_rig.Device(), &m_rows);
    m_rows.SelectRow(0);
    ASSERT_TRUE(player.Play(PlayMode::Selected));
    ASSERT_TRUE(player.Next());
    player.Stop();
    // Fill, then the stop's close wait, the wait before the new track, its fill.
    EXPECT_EQ(sleeps, (std::vector<int>{3000, 500, 2000, 3000, 500}));
}

} // namespace
} // namespace disc
