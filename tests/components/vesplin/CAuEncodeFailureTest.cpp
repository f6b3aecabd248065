#include "components/vesplin/CAuEncode.h"
#include "components/vesplin/EncodeFile.h"
#include "tests/components/vesplin/DecodedMp3.h"
#include "tests/components/vesplin/EncodeRun.h"
#include "tests/components/vesplin/ToneSignal.h"
#include "tests/engine/TestStream.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

using namespace vesplintest;
using EncodeError = CAuEncode::EncodeError;

namespace {

constexpr CDataListPauses kQuickPauses{0, 0, 2};

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

class CAuEncodeFailureTest : public ::testing::Test {
protected:
    std::unique_ptr<CAuEncode> MakeEncoder(std::unique_ptr<vesplin::IEncodeOutput> output) const {
        return std::make_unique<CAuEncode>(m_folder.File("SoftSet.ini"), std::move(output));
    }

    testsupport::TempFolder m_folder;
    CDataList m_queue{kQuickPauses};
    const std::vector<std::int16_t> m_signal = MakeToneSignal(8 * 44100);
    const std::vector<std::uint8_t> m_bytes = AsBytes(m_signal);
};

TEST_F(CAuEncodeFailureTest, WithoutAQueueItReturnsAtOnce) {
    const auto encoder = MakeEncoder(std::make_unique<vesplin::EncodeFile>());
    EXPECT_FALSE(encoder->Encode_DataStreamEx(nullptr, kCaptureBytes, m_folder.File("a.mp3")));
    EXPECT_EQ(encoder->Encode_GetError(), EncodeError::BadArgument);
    EXPECT_FALSE(std::filesystem::exists(m_folder.File("a.mp3")));
}

TEST_F(CAuEncodeFailureTest, AnUnusableChunkSizeStillDrainsTheQueue) {
    const auto encoder = MakeEncoder(std::make_unique<vesplin::EncodeFile>());
    for (const int chunkBytes : {0, -37632, static_cast<int>(CDataList::kBlockBytes) + 1}) {
        m_queue.Reset();
        EncodeRun run(*encoder, m_queue, chunkBytes, m_folder.File("a.mp3"));
        run.Put(m_bytes, 0, m_bytes.size() / 4);
        EXPECT_FALSE(run.Stop()) << chunkBytes;
        EXPECT_EQ(encoder->Encode_GetError(), EncodeError::BadArgument) << chunkBytes;
        EXPECT_FALSE(std::filesystem::exists(m_folder.File("a.mp3"))) << chunkBytes;
    }
}

TEST_F(CAuEncodeFailureTest, AFileThatCannotBeCreatedStillLetsStopFinish) {
    const auto encoder = MakeEncoder(std::make_unique<vesplin::EncodeFile>());
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

TEST_F(CAuEncodeFailureTest, AWriteFailureMidStreamKeepsWhatWasWrittenAndDrainsTheRest) {
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

TEST_F(CAuEncodeFailureTest, AFailedSummaryFrameLeavesAPlayableFile) {
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

TEST_F(CAuEncodeFailureTest, ASecondStreamOnABusyObjectDrainsItsQueueAndLeavesTheFirstAlone) {
    const auto encoder = MakeEncoder(std::make_unique<vesplin::EncodeFile>());
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
    EXPECT_LE(std::labs(static_cast<long>(decoded.Frames()) - 8 * 44100L), 1152L);
}

} // namespace
