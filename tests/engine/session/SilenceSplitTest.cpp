// Splitting a take on silence: where the splitter ends tracks in synthetic
// sound fed in capture buffers (as the CD and file writers feed it), and the
// settings from SoftSet.ini and from the command line; an MP3 take split
// through the session. (CD and WAV takes: tests/cli/record-split.sh.)
#include "engine/session/SilenceSplitter.h"
#include "engine/session/SplitSettings.h"
#include "tests/components/vesplin/DecodedMp3.h"
#include "tests/engine/session/SessionFixture.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

namespace {

constexpr double kRate = 44100;
constexpr std::size_t kBufferFrames = 9408;
constexpr std::int16_t kLoud = 8000;
constexpr std::int16_t kQuiet = 200; // -44 dBFS: above -50
constexpr std::int16_t kHiss = 50;   // -56 dBFS: below it

struct Piece {
    double seconds;
    std::int16_t amplitude; // frames alternate between + and -
};

std::vector<std::int16_t> Sound(const std::vector<Piece>& pieces) {
    std::vector<std::int16_t> samples;
    for (const Piece& piece : pieces) {
        for (auto frame = 0; frame < static_cast<int>(piece.seconds * kRate); ++frame) {
            const auto value =
                static_cast<std::int16_t>(frame % 2 == 0 ? piece.amplitude : -piece.amplitude);
            samples.insert(samples.end(), {value, value});
        }
    }
    return samples;
}

// Where tracks begin, as frames of the whole sound.
std::vector<std::size_t> TrackStarts(const std::vector<Piece>& pieces, std::uint32_t step) {
    const engine::SplitSettings settings{true, -50.0, 2.0, 4.0};
    engine::SilenceSplitter splitter(settings, step);
    const std::vector<std::int16_t> sound = Sound(pieces);
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < sound.size() / 2;) {
        const std::size_t frames = std::min(kBufferFrames, sound.size() / 2 - at);
        std::size_t done = 0;
        while (done < frames) {
            const auto kept = splitter.Feed(sound.data() + 2 * (at + done), frames - done);
            if (!kept) {
                break;
            }
            done += *kept;
            starts.push_back(at + done);
        }
        at += frames;
    }
    return starts;
}

std::size_t Frames(double seconds) {
    return static_cast<std::size_t>(seconds * kRate);
}

} // namespace

TEST(SilenceSplitter, EndsATrackInsideEachLongEnoughSilenceKeepingTheSilenceWithIt) {
    const std::size_t sector = engine::SilenceSplitter::kSectorFrames;
    const struct {
        const char* what;
        std::vector<Piece> pieces;
        std::uint32_t step;
        std::vector<std::size_t> starts;
    } cases[] = {
        {"file: the next track begins with the sound",
         {{5, kLoud}, {2.5, 0}, {5, kLoud}},
         1,
         {Frames(7.5)}},
        {"CD: the sector boundary before the sound",
         {{5, kLoud}, {2.5, 0}, {5, kLoud}},
         sector,
         {Frames(7.5) / sector * sector}},
        {"three pauses",
         {{5, kLoud}, {2.5, 0}, {5, kLoud}, {3, kHiss}, {5, kLoud}, {2.25, 0}, {1, kLoud}},
         1,
         {Frames(7.5), Frames(15.5), Frames(22.75)}},
        {"a pause shorter than the silence", {{5, kLoud}, {1.9, 0}, {5, kLoud}}, 1, {}},
        {"quiet sound is no silence", {{5, kLoud}, {3, kQuiet}, {5, kLoud}}, 1, {}},
        {"a pause within the shortest track", {{1, kLoud}, {2.5, 0}, {5, kLoud}}, 1, {}},
        {"a pause to the end", {{5, kLoud}, {5, 0}}, 1, {}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(TrackStarts(test.pieces, test.step), test.starts) << test.what;
    }
}

TEST(SplitSettings, ReadFromSoftSetAndTheCommandLineWithinWorkableBounds) {
    testsupport::TempFolder folder;
    const std::string ini = folder.Write(
        "SoftSet.ini", "[Record]\nSplitOnSilence=1\nSplitSilenceDb=-40\nSplitSilenceSeconds=x\n"
                       "SplitMinTrackSeconds=1\n");
    const engine::SplitSettings read = engine::SplitSettingsFrom(ini);
    EXPECT_TRUE(read.enabled);
    EXPECT_EQ(read.silenceDb, -40.0);
    EXPECT_EQ(read.silenceSeconds, 2.0) << "malformed: the default";
    EXPECT_EQ(read.minTrackSeconds, 4.0) << "no track shorter than a CD allows";
    EXPECT_FALSE(engine::SplitSettingsFrom(folder.File("none.ini")).enabled);

    const engine::SplitSettings base;
    const auto given = engine::SplitSettingsOverride("-60,,45", base);
    ASSERT_TRUE(given);
    EXPECT_TRUE(given->enabled);
    EXPECT_EQ(given->silenceDb, -60.0);
    EXPECT_EQ(given->silenceSeconds, 2.0);
    EXPECT_EQ(given->minTrackSeconds, 45.0);
    EXPECT_TRUE(engine::SplitSettingsOverride("", base)->enabled);
    for (const char* bad : {"x", "-40,1,5,6", "-40;1", "-40,1e999"}) {
        EXPECT_FALSE(engine::SplitSettingsOverride(bad, base)) << bad;
    }
}

class SplitTake : public SessionFixture {
protected:
    void SetUp() override {
        SessionFixture::SetUp();
        Close();
        UseInput("marked:5,1.5"); // sound comes back at 6.5 s, the next gap is at 11.5 s
        Open();
        m_session->SetSplit({true, -50.0, 1.0, 4.0});
    }
};

TEST_F(SplitTake, ACdTakeGoesOnInTheNextTrackWhileCaptureQueuesAndLosesNothing) {
    MakeDrive();
    RecordFor(40); // 8.5 s
    std::vector<std::uint8_t> audio = TrackAudio(0);
    const std::size_t firstTrackBytes = audio.size();
    const std::vector<std::uint8_t> second = TrackAudio(1);
    audio.insert(audio.end(), second.begin(), second.end());
    ASSERT_GE(audio.size(), m_session->CapturedBytes());
    std::vector<std::uint32_t> frames(m_session->CapturedBytes() / 4);
    std::memcpy(frames.data(), audio.data(), frames.size() * 4);
    std::uint32_t start = 0; // the take begins with sound: its first frame's number
    std::memcpy(&start, audio.data(), sizeof(start));
    const auto period = static_cast<std::uint32_t>(Frames(6.5));
    for (std::uint32_t at = 0; at < frames.size(); ++at) {
        const std::uint32_t n = start + at;
        ASSERT_EQ(frames[at], n % period < Frames(5.0) ? n : 0u) << "frame " << at;
    }
    EXPECT_EQ(firstTrackBytes % 2352, 0u);
    EXPECT_GE(start + firstTrackBytes / 4, Frames(5.0)) << "the first track ends in the gap";
    EXPECT_LE(start + firstTrackBytes / 4, period);
    EXPECT_EQ(m_view.Time().rfind("Track 2 ", 0), 0u) << m_view.Time();
    EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(SplitTake, AnMp3TakeGoesOnInTheNextNumberedFileWhereTheSoundComesBack) {
    const std::string path = m_folder.File("take.mp3");
    m_view.m_toFile.store(true);
    m_view.SetPath(path);
    RecordFor(40); // 8.5 s
    const vesplintest::DecodedMp3 first = vesplintest::DecodeMp3(path);
    const vesplintest::DecodedMp3 second = vesplintest::DecodeMp3(m_folder.File("take-02.mp3"));
    ASSERT_TRUE(first.decoded && second.decoded);
    EXPECT_FALSE(std::filesystem::exists(m_folder.File("take-03.mp3")));
    EXPECT_EQ((first.Frames() + second.Frames()) * 4, m_session->CapturedBytes())
        << "nothing lost or doubled";
    EXPECT_GT(first.Frames(), Frames(6.0)) << "the gap stays with the first file";
}
