// A take holds its sound whole, from the first capture buffer after Record to
// the last before Stop, on CD and in MP3: checked with the marked input, whose
// frames carry their own numbers. Short CD tracks are padded to four seconds,
// a drive without underrun protection is paced, a drive that stays busy stops
// the take with message 30, and takes limited in sound or begun with the
// sound before Record hold exactly that.
#include "engine/RecordingState.h"
#include "engine/WavHeader.h"
#include "engine/session/PreRecordSetting.h"
#include "platform/wave/MarkedSource.h"
#include "tests/components/vesplin/DecodedMp3.h"
#include "tests/engine/session/SessionFixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>

namespace {

constexpr std::uint32_t kFramesPerBuffer = kCaptureBufferBytes / 4;

std::vector<std::uint32_t> MarkedFrames(const std::vector<std::uint8_t>& pcm) {
    std::vector<std::uint32_t> frames;
    for (std::size_t at = 0; at + 4 <= pcm.size(); at += 4) {
        frames.push_back(platform::wave::MarkedSource::FrameNumber(
            static_cast<std::uint16_t>(pcm[at] | pcm[at + 1] << 8),
            static_cast<std::uint16_t>(pcm[at + 2] | pcm[at + 3] << 8)));
    }
    return frames;
}

// Capture buffers delivered before Record, once Record has returned, and
// before Stop.
struct TakeMarks {
    std::uint64_t beforeRecord = 0;
    std::uint64_t afterRecord = 0;
    std::uint64_t beforeStop = 0;
};

class WholeTake : public SessionFixture {
protected:
    void SetUp() override {
        SessionFixture::SetUp();
        Close();
        // Buffers are counted from the first frame of the marked input on.
        g_waveRing.Init(16 * kCaptureBufferBytes, 0xFFFFFFFFu);
        UseInput("marked");
        Open();
    }

    // A take of at least `buffers` capture buffers, stopped by Stop.
    TakeMarks Record(std::uint64_t buffers) {
        TakeMarks marks;
        marks.beforeRecord = BuffersDelivered();
        m_session->StartRecording();
        marks.afterRecord = BuffersDelivered();
        EXPECT_TRUE(m_session->IsRecording());
        WaitUntil([&] { return BuffersDelivered() >= marks.afterRecord + buffers; }, "the take");
        marks.beforeStop = BuffersDelivered();
        m_session->StopRecording();
        WaitUntilIdle();
        return marks;
    }

    // `frames` are consecutive numbers that begin with a whole capture
    // buffer, `preRecord` frames before the first buffer after Record, and
    // end no earlier than the last buffer before Stop.
    static void ExpectWhole(const std::vector<std::uint32_t>& frames, const TakeMarks& marks,
                            std::uint32_t preRecord = 0) {
        ASSERT_FALSE(frames.empty());
        for (std::size_t i = 1; i < frames.size(); ++i) {
            ASSERT_EQ(frames[i], frames[0] + i) << "frame " << i << " of the take";
        }
        const std::uint64_t firstLive = std::uint64_t{frames.front()} + preRecord;
        EXPECT_EQ(firstLive % kFramesPerBuffer, 0u);
        EXPECT_GE(firstLive + kFramesPerBuffer, marks.beforeRecord * kFramesPerBuffer);
        EXPECT_LE(firstLive, marks.afterRecord * kFramesPerBuffer)
            << "the first buffer after Record is in the take";
        EXPECT_GE(std::uint64_t{frames.back()} + 1, marks.beforeStop * kFramesPerBuffer)
            << "the last buffer before Stop is in the take";
    }
};

TEST_F(WholeTake, AShortCdTakeKeepsEveryFrameToStopAndIsPaddedWithSilenceToFourSeconds) {
    MakeDrive();
    const TakeMarks marks = Record(6);
    const quarnel::emu::DiscState state = Emulated().State();
    ASSERT_EQ(state.tracks.size(), 1u);
    EXPECT_EQ(state.tracks[0].length, 300u);
    EXPECT_EQ(m_session->RecordedSectors(), 300);
    const std::vector<std::uint8_t> audio = TrackAudio(0);
    const std::size_t soundBytes = m_session->CapturedBytes();
    ASSERT_LT(soundBytes, audio.size());
    ExpectWhole(MarkedFrames({audio.begin(), audio.begin() + static_cast<long>(soundBytes)}),
                marks);
    EXPECT_TRUE(std::all_of(audio.begin() + static_cast<long>(soundBytes), audio.end(),
                            [](std::uint8_t byte) { return byte == 0; }));
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_FALSE(state.trackOpen);
}

TEST_F(WholeTake, AFastDriveWithoutUnderrunProtectionIsSlowedTo1xAndLosesNoSector) {
    MakeDrive([](quarnel::emu::DriveSettings& settings) {
        settings.writeSpeedX = 52;
        settings.capabilities.underrunProtection = false;
        settings.bufferKib = 128;
    });
    const TakeMarks marks = Record(30);
    const quarnel::emu::DiscState state = Emulated().State();
    ASSERT_EQ(state.tracks.size(), 1u);
    EXPECT_EQ(state.tracks[0].length * 2352u, m_session->CapturedBytes());
    ExpectWhole(MarkedFrames(TrackAudio(0)), marks);
    EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(WholeTake, ADriveBusyForTheWholeTakeStopsItWithMessage32) {
    MakeDrive([](quarnel::emu::DriveSettings& settings) {
        settings.faults.longWriteAttempts = 1u << 30;
    });
    m_session->StartRecording();
    WaitUntilIdle(); // the writer gives the drive up and stops the take itself
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{Message(32)});
    EXPECT_TRUE(Emulated().State().tracks.empty());
    EXPECT_FALSE(Emulated().State().locked);
    EXPECT_TRUE(g_notRecording.load());
}

TEST_F(WholeTake, AnMp3TakeBeginsWithTheFirstBufferAfterRecordAndEndsAtStop) {
    m_session = std::make_unique<engine::RecordSession>(m_view); // the program's pauses
    const std::string path = m_folder.Path() + "/marked.mp3";
    m_view.m_toFile.store(true);
    m_view.SetPath(path);
    const TakeMarks marks = Record(10);

    const vesplintest::DecodedMp3 decoded = vesplintest::DecodeMp3(path);
    ASSERT_TRUE(decoded.decoded);
    EXPECT_EQ(decoded.Frames() * 4, m_session->CapturedBytes()) << "delay and padding removed";
    // The low 16 bits of the frame numbers fall from 32767 to -32768 once
    // every 65,536 frames (1.5 s); the codec keeps that step where it is. The
    // take begins with the buffer that puts the step there.
    std::size_t step = 0;
    int largestFall = 0;
    for (std::size_t i = 1; i < decoded.Frames(); ++i) {
        const int fall = decoded.pcm[2 * i - 2] - decoded.pcm[2 * i];
        if (fall > largestFall) {
            largestFall = fall;
            step = i;
        }
    }
    ASSERT_GT(largestFall, 30000);
    std::optional<std::uint64_t> firstBuffer;
    for (std::uint64_t buffer = 0; buffer <= marks.afterRecord + 4 && !firstBuffer; ++buffer) {
        const std::uint64_t stepFrame = (buffer * kFramesPerBuffer + step) % 65536;
        if (stepFrame + 2 >= 32768 && stepFrame <= 32768 + 2) {
            firstBuffer = buffer;
        }
    }
    ASSERT_TRUE(firstBuffer.has_value()) << "the take begins with a whole capture buffer";
    EXPECT_LE(*firstBuffer, marks.beforeRecord + 1) << "no pause before the take starts";
    EXPECT_GE(*firstBuffer + 1, marks.beforeRecord);
    EXPECT_GE(*firstBuffer + decoded.Frames() / kFramesPerBuffer, marks.beforeStop);
}

TEST_F(WholeTake, AWavTakeLimitedToOneSecondBeginsWithTheSecondBeforeRecord) {
    WaitForBuffers(8); // more than a second is captured before Record
    const std::string path = m_folder.Path() + "/limited.wav";
    m_view.m_toFile.store(true);
    m_view.SetPath(path);
    m_session->SetPreRecordSeconds(1);
    m_session->SetSoundLimitSeconds(1);
    TakeMarks marks;
    marks.beforeRecord = BuffersDelivered();
    m_session->StartRecording();
    marks.afterRecord = BuffersDelivered();
    WaitUntil([this] { return m_session->CapturedBytes() >= kPcmBytesPerSecond; }, "a second");
    m_session->StopRecording(); // the limit, not Stop, ends this take's sound

    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                          std::istreambuf_iterator<char>()};
    ASSERT_EQ(bytes.size(), kTakeWavHeaderBytes + 2 * kPcmBytesPerSecond);
    ExpectWhole(MarkedFrames({bytes.begin() + kTakeWavHeaderBytes, bytes.end()}), marks,
                kPcmBytesPerSecond / 4);
}

TEST(PreRecordSetting, IsWholeSecondsFrom0To10AndBadValuesGiveNone) {
    testsupport::TempFolder folder;
    const std::string ini = folder.File("SoftSet.ini");
    EXPECT_EQ(engine::PreRecordSecondsSetting(ini), 0u) << "no file";
    for (const auto& [text, seconds] : std::vector<std::pair<std::string, unsigned>>{
             {"3", 3}, {"25", 10}, {"-2", 0}, {"2s", 0}, {"", 0}}) {
        std::ofstream(ini) << "[Record]\nPreRecordSeconds=" << text << "\n";
        EXPECT_EQ(engine::PreRecordSecondsSetting(ini), seconds) << text;
    }
}

} // namespace
