// MP3 takes through the encoder with a real feed queue, decoded again: odd chunks, stops, a
// file that plays while the take runs, VBR, tags, and failures of every kind but a full disk
// (tests/cli/full-volume.sh).
#include "components/vesplin/CAuEncode.h"
#include "components/vesplin/EncodeFile.h"
#include "tests/components/vesplin/DecodedMp3.h"
#include "tests/components/vesplin/EncodeRun.h"
#include "tests/components/vesplin/SameSound.h"
#include "tests/components/vesplin/ToneSignal.h"
#include "tests/engine/TestStream.h"
#include "tests/support/TempFolder.h"
#include "util/FileSize.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <thread>

using namespace vesplintest;
using EncodeError = CAuEncode::EncodeError;

namespace {

constexpr CDataListPauses kQuickPauses{0, 0, 2};
// About six seconds, deliberately not a whole number of capture buffers.
constexpr std::size_t kTakeFrames = 6 * 44100 + 1234;

// A file on disk that refuses appends beyond a byte budget, or the final
// overwrite of the summary frame, as a full disk or a failing device would.
class FailingFile : public vesplin::IEncodeOutput {
public:
    FailingFile(std::uint64_t appendBudgetBytes, bool failWriteAt)
        : m_budgetBytes(appendBudgetBytes), m_failWriteAt(failWriteAt) {}

    bool Create(const std::string& path) override { return m_file.Create(path); }
    bool Append(const std::uint8_t* data, std::size_t size) override {
        if (m_appendedBytes + size > m_budgetBytes) {
            ++m_refusedAppends;
            return false;
        }
        m_appendedBytes += size;
        return m_file.Append(data, size);
    }
    bool WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override {
        return !m_failWriteAt && m_file.WriteAt(offset, data, size);
    }
    bool Close() override { return m_file.Close(); }

    int RefusedAppends() const { return m_refusedAppends; }

private:
    vesplin::EncodeFile m_file;
    std::uint64_t m_budgetBytes;
    bool m_failWriteAt;
    std::uint64_t m_appendedBytes = 0;
    int m_refusedAppends = 0;
};

class CAuEncodeStreamTest : public ::testing::Test {
protected:
    std::unique_ptr<CAuEncode> MakeEncoder(std::unique_ptr<vesplin::IEncodeOutput> output =
                                               std::make_unique<vesplin::EncodeFile>()) const {
        return std::make_unique<CAuEncode>(m_folder.File("SoftSet.ini"), std::move(output));
    }
    std::string Mp3Path() const { return m_folder.File("take.mp3"); }

    // Records `bytes` as one take into `path`, capture buffer by capture buffer.
    bool EncodeTake(CAuEncode& encoder, const std::vector<std::uint8_t>& bytes,
                    const std::string& path) {
        EncodeRun run(encoder, m_queue, kCaptureBytes, path);
        run.Put(bytes, 0, bytes.size());
        return run.Stop();
    }

    testsupport::TempFolder m_folder;
    CDataList m_queue{kQuickPauses};
    const std::vector<std::int16_t> m_signal = MakeToneSignal(kTakeFrames);
    const std::vector<std::uint8_t> m_bytes = AsBytes(m_signal);
};

TEST_F(CAuEncodeStreamTest, ChunksThatSplitSamplesLoseAndRepeatNothing) {
    // Odd chunk sizes, and three bytes of an incomplete last sample that are left out.
    std::vector<std::uint8_t> bytes = m_bytes;
    bytes.insert(bytes.end(), {0x12, 0x34, 0x56});
    const auto encoder = MakeEncoder();
    EncodeRun run(*encoder, m_queue, 1001, Mp3Path());
    run.Put(bytes, 0, bytes.size(), 777);
    ASSERT_TRUE(run.Stop());
    EXPECT_EQ(encoder->Encode_GetError(), CAuEncode::EncodeError::None);
    const DecodedMp3 decoded = DecodeMp3(Mp3Path());
    ExpectSameSound(m_signal, decoded);
    EXPECT_FALSE(decoded.hasId3v2) << "no title, no tag";
}

TEST_F(CAuEncodeStreamTest, EncodeStopDuringTheStreamStillTakesTheRestOfTheQueue) {
    const auto encoder = MakeEncoder();
    EncodeRun run(*encoder, m_queue, kCaptureBytes, Mp3Path());
    const std::size_t half = m_bytes.size() / 2;
    run.Put(m_bytes, 0, half);
    ASSERT_TRUE(enginetest::Eventually([&] { return encoder->Encode_GetCurrMp3FileLen() > 0; }));
    encoder->EncodeStop();
    // The capture goes on until the queue is ended, as it does at Stop.
    run.Put(m_bytes, half, m_bytes.size());
    ASSERT_TRUE(run.Stop());
    ExpectSameSound(m_signal, DecodeMp3(Mp3Path()));
}

TEST_F(CAuEncodeStreamTest, FileIsPlayableWhileTheTakeIsStillRunning) {
    const auto encoder = MakeEncoder();
    EncodeRun run(*encoder, m_queue, kCaptureBytes, Mp3Path());
    const std::size_t half = m_bytes.size() / 2;
    run.Put(m_bytes, 0, half);
    // Everything of the first half is encoded once only the carried-over
    // samples of the encoder remain: at least 2.5 seconds of frames.
    ASSERT_TRUE(enginetest::Eventually(
        [&] { return encoder->Encode_GetCurrMp3FileLen() > 2.5 * 24000.0; }));
    // What a killed program would leave behind: the file as it was after the
    // last append that the length read-out had counted (the encoder may be
    // in the middle of the next one while the copy is taken).
    const std::uint32_t counted = encoder->Encode_GetCurrMp3FileLen();
    const std::string copy = m_folder.File("killed.mp3");
    std::filesystem::copy_file(Mp3Path(), copy);
    std::filesystem::resize_file(copy, counted);
    run.Put(m_bytes, half, m_bytes.size());
    ASSERT_TRUE(run.Stop());

    const DecodedMp3 partial = DecodeMp3(copy);
    ASSERT_TRUE(partial.decoded);
    EXPECT_FALSE(partial.variableBitRate);
    // Without the summary frame the placeholder decodes as one frame of
    // silence and the encoder delay is not removed.
    ASSERT_GT(partial.Frames(), 2 * 44100u);
    const long lag = BestLagFrames(m_signal, partial.pcm, 4 * kMp3FrameSamples);
    EXPECT_GT(lag, static_cast<long>(kMp3FrameSamples));
    EXPECT_GT(WorstWindowSnrDb(m_signal, partial.pcm, lag, kMp3FrameSamples, 2 * kMp3FrameSamples),
              20.0);
}

TEST_F(CAuEncodeStreamTest, EncodeStopBeforeARunClearsTheLastRun) {
    const auto encoder = MakeEncoder();
    ASSERT_TRUE(EncodeTake(*encoder, m_bytes, Mp3Path()));
    ASSERT_GT(encoder->Encode_GetCurrMp3FileLen(), 0u);
    encoder->EncodeStop();
    EXPECT_EQ(encoder->Encode_GetCurrMp3FileLen(), 0u);

    // The object is ready for the next take, which starts a new file.
    m_queue.Reset();
    ASSERT_TRUE(EncodeTake(*encoder, m_bytes, m_folder.File("second.mp3")));
    ExpectSameSound(m_signal, DecodeMp3(m_folder.File("second.mp3")));
}

TEST_F(CAuEncodeStreamTest, VbrSettingGivesAVariableBitRateFileOfTheSameSound) {
    m_folder.Write("SoftSet.ini", "[Mp3]\nMode=vbr\nVbrQuality=4\n");
    const auto encoder = MakeEncoder();
    ASSERT_TRUE(EncodeTake(*encoder, m_bytes, Mp3Path()));
    const DecodedMp3 decoded = DecodeMp3(Mp3Path());
    EXPECT_TRUE(decoded.variableBitRate);
    ExpectSameSound(m_signal, decoded);
}

TEST_F(CAuEncodeStreamTest, TitleAndTrackNumberGoIntoTheId3v2Tag) {
    const auto encoder = MakeEncoder();
    encoder->SetTags({"Grüße aus Köln 𝄞", 7});
    ASSERT_TRUE(EncodeTake(*encoder, m_bytes, Mp3Path()));
    const DecodedMp3 decoded = DecodeMp3(Mp3Path());
    EXPECT_TRUE(decoded.hasId3v2);
    EXPECT_EQ(decoded.title, "Grüße aus Köln 𝄞");
    EXPECT_EQ(decoded.track, "7");
    // The summary frame went after the tag, so the delay is still removed.
    ExpectSameSound(m_signal, decoded);
}

TEST_F(CAuEncodeStreamTest, WithoutAQueueItReturnsAtOnce) {
    const auto encoder = MakeEncoder();
    EXPECT_FALSE(encoder->Encode_DataStreamEx(nullptr, kCaptureBytes, m_folder.File("a.mp3")));
    EXPECT_EQ(encoder->Encode_GetError(), EncodeError::BadArgument);
    EXPECT_FALSE(std::filesystem::exists(m_folder.File("a.mp3")));
}

TEST_F(CAuEncodeStreamTest, AnUnusableChunkSizeStillDrainsTheQueue) {
    const auto encoder = MakeEncoder();
    for (const int chunkBytes : {0, -37632, static_cast<int>(CDataList::kBlockBytes) + 1}) {
        m_queue.Reset();
        EncodeRun run(*encoder, m_queue, chunkBytes, m_folder.File("a.mp3"));
        run.Put(m_bytes, 0, m_bytes.size() / 4);
        EXPECT_FALSE(run.Stop()) << chunkBytes;
        EXPECT_EQ(encoder->Encode_GetError(), EncodeError::BadArgument) << chunkBytes;
        EXPECT_FALSE(std::filesystem::exists(m_folder.File("a.mp3"))) << chunkBytes;
    }
}

TEST_F(CAuEncodeStreamTest, AFileThatCannotBeCreatedStillLetsStopFinish) {
    const auto encoder = MakeEncoder();
    EncodeRun run(*encoder, m_queue, kCaptureBytes, m_folder.File("no/such/folder/a.mp3"));
    ASSERT_TRUE(enginetest::Eventually(
        [&] { return encoder->Encode_GetError() == EncodeError::CannotCreate; }));
    // The take goes on after the failure; its sound is taken and dropped.
    run.Put(m_bytes, 0, m_bytes.size());
    EXPECT_TRUE(enginetest::Eventually([&] { return m_queue.GetWaitingBytes() < kCaptureBytes; }));
    EXPECT_FALSE(run.Stop());
    EXPECT_EQ(encoder->Encode_GetError(), EncodeError::CannotCreate);
    EXPECT_EQ(encoder->Encode_GetCurrMp3FileLen(), 0u);
}

TEST_F(CAuEncodeStreamTest, AWriteFailureMidStreamKeepsWhatWasWrittenAndDrainsTheRest) {
    auto output = std::make_unique<FailingFile>(40000, false);
    const FailingFile& file = *output;
    const auto encoder = MakeEncoder(std::move(output));
    const std::string path = m_folder.File("a.mp3");
    EncodeRun run(*encoder, m_queue, kCaptureBytes, path);
    run.Put(m_bytes, 0, m_bytes.size());
    EXPECT_FALSE(run.Stop());
    EXPECT_EQ(encoder->Encode_GetError(), EncodeError::WriteFailed);
    // The encoder stopped writing at the first refusal.
    EXPECT_EQ(file.RefusedAppends(), 1);
    const auto written = encoder->Encode_GetCurrMp3FileLen();
    EXPECT_GT(written, 30000u);
    EXPECT_LE(written, 40000u);
    EXPECT_EQ(written, std::filesystem::file_size(path));
    const DecodedMp3 decoded = DecodeMp3(path);
    ASSERT_TRUE(decoded.decoded);
    EXPECT_GT(decoded.Frames(), 44100u);
    EXPECT_GT(TonePower(decoded.pcm, 0, 0, 44100, kLeftTonesHz[0]), 0.05);
}

TEST_F(CAuEncodeStreamTest, AFailedSummaryFrameLeavesAPlayableFile) {
    const auto encoder = MakeEncoder(std::make_unique<FailingFile>(UINT64_MAX, true));
    const std::string path = m_folder.File("a.mp3");
    EncodeRun run(*encoder, m_queue, kCaptureBytes, path);
    run.Put(m_bytes, 0, m_bytes.size());
    EXPECT_FALSE(run.Stop());
    EXPECT_EQ(encoder->Encode_GetError(), EncodeError::WriteFailed);
    const DecodedMp3 decoded = DecodeMp3(path);
    ASSERT_TRUE(decoded.decoded);
    // Every sample is there, behind the placeholder frame and encoder delay.
    EXPECT_GE(decoded.Frames(), m_signal.size() / 2);
    EXPECT_LE(decoded.Frames(), m_signal.size() / 2 + 4 * 1152);
}

TEST_F(CAuEncodeStreamTest, ASecondStreamOnABusyObjectDrainsItsQueueAndLeavesTheFirstAlone) {
    const auto encoder = MakeEncoder();
    const std::string path = m_folder.File("a.mp3");
    EncodeRun first(*encoder, m_queue, kCaptureBytes, path);
    first.Put(m_bytes, 0, m_bytes.size() / 2);
    ASSERT_TRUE(enginetest::Eventually([&] { return encoder->Encode_GetCurrMp3FileLen() > 0; }));

    CDataList other(kQuickPauses);
    other.PutData(m_bytes.data(), kCaptureBytes);
    other.SetStop(true);
    EXPECT_FALSE(encoder->Encode_DataStreamEx(&other, kCaptureBytes, m_folder.File("b.mp3")));
    EXPECT_TRUE(other.IsFinished());
    EXPECT_FALSE(std::filesystem::exists(m_folder.File("b.mp3")));

    first.Put(m_bytes, m_bytes.size() / 2, m_bytes.size());
    EXPECT_TRUE(first.Stop());
    EXPECT_EQ(encoder->Encode_GetError(), EncodeError::None);
    const DecodedMp3 decoded = DecodeMp3(path);
    ASSERT_TRUE(decoded.decoded);
    EXPECT_LE(std::labs(static_cast<long>(decoded.Frames()) - static_cast<long>(kTakeFrames)),
              1152L);
}

} // namespace
