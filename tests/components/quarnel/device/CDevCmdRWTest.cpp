// The writing side against a scripted transport: a whole track-at-once take
// as the recorder runs it, and the failures it has to tell apart.
#include "components/quarnel/device/CDevCmdRW.h"
#include "components/quarnel/MmcOpcodes.h"
#include "components/quarnel/device/DeviceStatus.h"
#include "components/quarnel/mmc/CommandTimeouts.h"
#include "tests/components/quarnel/device/FakeDrive.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

using testing::FakeDrive;
using V = std::vector<std::uint8_t>;

constexpr std::uint32_t kSectorBytes = 2352;

class WriterTest : public ::testing::Test {
protected:
    std::shared_ptr<FakeDrive::Script> m_script = std::make_shared<FakeDrive::Script>();
    CDevCmdRW m_writer{std::make_unique<FakeDrive>(m_script), 4};

    void On(std::uint8_t opcode, FakeDrive::Handler handler) {
        m_script->handlers[opcode] = std::move(handler);
    }

    // A CD-R writer with underrun protection and an appendable disc whose
    // next track starts at 12,345.
    void ScriptCdWriter(bool underrunFree = true) {
        const V caps =
            testing::ModeSenseReply(testing::CapabilitiesPage(true, false, false, underrunFree));
        const V params = testing::ModeSenseReply(testing::WriteParametersPage());
        On(op::kModeSense10, [caps, params](const Command& command) {
            return testing::Reply(command.cdb.bytes[2] == 0x2A ? caps : params)(command);
        });
        On(op::kGetConfiguration, testing::Reply(testing::ProfileReply(MEDIUM_CD_R)));
        On(op::kModeSelect10, testing::Good());
        V track(48, 0);
        track[1] = 46;
        track[2] = 2;
        track[7] = 0x01;
        track[12] = 0x00;
        track[13] = 0x00;
        track[14] = 0x30;
        track[15] = 0x39;
        On(op::kReadTrackInformation, testing::Reply(track));
        On(op::kWrite10, testing::Good());
        On(op::kSynchronizeCache, testing::Good());
        On(op::kCloseTrackSession, testing::Good());
        On(op::kTestUnitReady, testing::Good());
    }

    std::vector<testing::LoggedCommand> Sent(std::uint8_t opcode) const {
        std::vector<testing::LoggedCommand> found;
        for (const auto& logged : m_script->log) {
            if (logged.Opcode() == opcode) {
                found.push_back(logged);
            }
        }
        return found;
    }
};

TEST_F(WriterTest, TrackAtOnceTake) {
    ScriptCdWriter();
    ASSERT_EQ(m_writer.SetWriteParam(WriteParam::AudioTrackAtOnce(true)), status::kOk);
    unsigned long address = 0;
    ASSERT_EQ(m_writer.GetNextWriteAdd(address), status::kOk);
    EXPECT_EQ(address, 12345UL);
    V chunk(16 * kSectorBytes, 0x11);
    for (int write = 0; write < 3; ++write) {
        ASSERT_EQ(m_writer.Write(static_cast<long>(address), chunk.data(), chunk.size(), 16),
                  status::kOk);
        address += 16;
    }
    ASSERT_EQ(m_writer.SynCache(), status::kOk);
    ASSERT_EQ(m_writer.CloseTrack(2), status::kOk);
    ASSERT_EQ(m_writer.CloseSession(), status::kOk);

    // The page sent back: TAO with BUFE, audio, raw blocks, session kept
    // open, CD-DA, 150-sector pause, the drive's other bytes unchanged.
    const auto selects = Sent(op::kModeSelect10);
    ASSERT_EQ(selects.size(), 1U);
    const V& list = selects[0].sent;
    ASSERT_EQ(list.size(), 8U + 52U);
    EXPECT_EQ(selects[0].cdb, (V{0x55, 0x10, 0, 0, 0, 0, 0, 0, 60, 0}));
    EXPECT_EQ(V(list.begin(), list.begin() + 8), V(8, 0));
    EXPECT_EQ(list[8 + 0], 0x05);
    EXPECT_EQ(list[8 + 2], 0x41);
    EXPECT_EQ(list[8 + 3], 0xC0);
    EXPECT_EQ(list[8 + 4], 0x00);
    EXPECT_EQ(list[8 + 5], 0x07);
    EXPECT_EQ(list[8 + 8], 0x00);
    EXPECT_EQ(list[8 + 15], 150);

    EXPECT_EQ(Sent(op::kReadTrackInformation)[0].cdb, (V{0x52, 1, 0, 0, 0, 0xFF, 0, 0, 48, 0}));
    const auto writes = Sent(op::kWrite10);
    ASSERT_EQ(writes.size(), 3U);
    EXPECT_EQ(writes[0].cdb, (V{0x2A, 0, 0, 0, 0x30, 0x39, 0, 0, 16, 0}));
    EXPECT_EQ(writes[2].cdb, (V{0x2A, 0, 0, 0, 0x30, 0x59, 0, 0, 16, 0}));
    EXPECT_EQ(writes[1].sent, chunk);
    EXPECT_EQ(writes[1].timeoutMs, kWriteTimeoutMs);
    EXPECT_EQ(Sent(op::kSynchronizeCache)[0].cdb[1], 0x02);
    const auto closes = Sent(op::kCloseTrackSession);
    ASSERT_EQ(closes.size(), 2U);
    EXPECT_EQ(closes[0].cdb, (V{0x5B, 0, 1, 0, 0, 2, 0, 0, 0, 0}));
    EXPECT_EQ(closes[1].cdb, (V{0x5B, 1, 2, 0, 0, 0, 0, 0, 0, 0}));
    // Write parameters first, then the address, writes, flush and closes.
    std::vector<std::uint8_t> order;
    for (const auto& logged : m_script->log) {
        if (order.empty() || order.back() != logged.Opcode()) {
            order.push_back(logged.Opcode());
        }
    }
    const std::vector<std::uint8_t> tail = {op::kModeSelect10, op::kReadTrackInformation,
                                            op::kWrite10, op::kSynchronizeCache,
                                            op::kCloseTrackSession};
    ASSERT_GE(order.size(), tail.size());
    EXPECT_EQ(std::vector<std::uint8_t>(order.end() - static_cast<long>(tail.size()), order.end()),
              tail);
}

TEST_F(WriterTest, WriteParametersUnreadable) {
    ScriptCdWriter();
    On(op::kModeSense10, testing::Check(0x5, 0x24, 0x00));
    EXPECT_EQ(m_writer.SetWriteParam(WriteParam::AudioTrackAtOnce(true)),
              status::kCheckCondition | 0x052400U);
    EXPECT_TRUE(Sent(op::kModeSelect10).empty());
}

TEST_F(WriterTest, WriteParametersRefused) {
    ScriptCdWriter();
    On(op::kModeSelect10, testing::Check(0x5, 0x26, 0x00));
    EXPECT_EQ(m_writer.SetWriteParam(WriteParam::AudioTrackAtOnce(true)),
              status::kCheckCondition | 0x052600U);
    EXPECT_EQ(m_writer.GetLastSense().asc, 0x26);
}

TEST_F(WriterTest, RandomWritableMediaTakeNoWriteParameters) {
    ScriptCdWriter();
    On(op::kGetConfiguration, testing::Reply(testing::ProfileReply(MEDIUM_DVD_RAM)));
    EXPECT_EQ(m_writer.SetWriteParam(WriteParam::DvdRamErase()), status::kOk);
    EXPECT_TRUE(Sent(op::kModeSelect10).empty());
    On(op::kTestUnitReady, testing::Check(0x2, 0x3A, 0x00));
    EXPECT_NE(m_writer.SetWriteParam(WriteParam::DvdRamErase()), status::kOk);
}

TEST_F(WriterTest, WriteArgumentsAreChecked) {
    ScriptCdWriter();
    V chunk(16 * kSectorBytes, 0);
    EXPECT_EQ(m_writer.Write(0, nullptr, chunk.size(), 16), status::kBadArgument);
    EXPECT_EQ(m_writer.Write(0, chunk.data(), chunk.size(), 0), status::kBadArgument);
    EXPECT_EQ(m_writer.Write(0, chunk.data(), chunk.size() - 1, 16), status::kBadArgument);
    EXPECT_TRUE(Sent(op::kWrite10).empty());
    // The pre-gap before address 0 is written with negative addresses.
    EXPECT_EQ(m_writer.Write(-150, chunk.data(), chunk.size(), 16), status::kOk);
    EXPECT_EQ(Sent(op::kWrite10)[0].cdb, (V{0x2A, 0, 0xFF, 0xFF, 0xFF, 0x6A, 0, 0, 16, 0}));
}

TEST_F(WriterTest, NextWritableAddressFallsBackToTheLastTrack) {
    ScriptCdWriter();
    V track(48, 0);
    track[1] = 46;
    track[7] = 0x01;
    track[15] = 0x64;
    On(op::kReadTrackInformation, [track](const Command& command) {
        if (command.cdb.bytes[5] == 0xFF) {
            return testing::Check(0x5, 0x24, 0x00)(command);
        }
        return testing::Reply(track)(command);
    });
    V disc(34, 0);
    disc[1] = 32;
    disc[2] = 0x01;
    disc[6] = 5;
    On(op::kReadDiscInformation, testing::Reply(disc));
    unsigned long address = 0;
    ASSERT_EQ(m_writer.GetNextWriteAdd(address), status::kOk);
    EXPECT_EQ(address, 100UL);
    EXPECT_EQ(Sent(op::kReadTrackInformation).back().cdb[5], 5);
}

TEST_F(WriterTest, NoNextWritableAddressOnAClosedDisc) {
    ScriptCdWriter();
    V track(48, 0);
    track[1] = 46;
    On(op::kReadTrackInformation, testing::Reply(track)); // NWA_V clear
    unsigned long address = 77;
    EXPECT_NE(m_writer.GetNextWriteAdd(address), status::kOk);
    EXPECT_EQ(address, 77UL);
}

TEST_F(WriterTest, DrivesRefusingImmedAreWaitedFor) {
    const auto refuseImmed = [](std::uint8_t immedMask) {
        return [immedMask](const Command& command) {
            return (command.cdb.bytes[1] & immedMask) != 0
                       ? testing::Check(0x5, 0x24, 0x00)(command)
                       : testing::Good()(command);
        };
    };
    On(op::kSynchronizeCache, refuseImmed(0x02));
    On(op::kCloseTrackSession, refuseImmed(0x01));
    On(op::kBlank, refuseImmed(0x10));
    EXPECT_EQ(m_writer.SynCache(), status::kOk);
    EXPECT_EQ(m_writer.CloseSession(), status::kOk);
    EXPECT_EQ(m_writer.Blank(BLANK_DISC), status::kOk);
    ASSERT_EQ(m_script->log.size(), 6U);
    EXPECT_EQ(m_script->log[1].cdb[1], 0x00);
    EXPECT_EQ(m_script->log[1].timeoutMs, kCloseTimeoutMs);
    EXPECT_EQ(m_script->log[3].cdb, (V{0x5B, 0, 2, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(m_script->log[5].timeoutMs, kBlankTimeoutMs);
    // Any other refusal is not repeated.
    On(op::kSynchronizeCache, testing::Check(0x2, 0x3A, 0x00));
    EXPECT_NE(m_writer.SynCache(), status::kOk);
    EXPECT_EQ(m_script->log.size(), 7U);
}

TEST_F(WriterTest, BlankFormatAndSpeed) {
    On(op::kBlank, testing::Good());
    On(op::kFormatUnit, testing::Good());
    On(op::kSetCdSpeed, testing::Good());
    EXPECT_EQ(m_writer.Blank(BLANK_MINIMAL), status::kOk);
    EXPECT_EQ(m_script->log.back().cdb, (V{0xA1, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(m_script->log.back().timeoutMs, kImmediateTimeoutMs);
    EXPECT_EQ(m_writer.Blank(static_cast<BLANK_TYPE>(7)), status::kBadArgument);
    EXPECT_EQ(m_writer.FormatUnit(), status::kOk);
    EXPECT_EQ(m_script->log.back().cdb, (V{0x04, 0x11, 0, 0, 0, 0}));
    EXPECT_EQ(m_script->log.back().sent,
              (V{0, 0x02, 0, 8, 0xFF, 0xFF, 0xFF, 0xFF, 0x26 << 2, 0, 0, 0}));
    EXPECT_EQ(m_writer.SetLowestWriteSpeed(), status::kOk);
    EXPECT_EQ(m_script->log.back().cdb, (V{0xBB, 0, 0xFF, 0xFF, 0, 176, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(m_writer.CloseSession(1), status::kCheckCondition | 0x052000U);
    EXPECT_EQ(m_script->log.back().cdb, (V{0x5B, 1, 2, 0, 0, 1, 0, 0, 0, 0}));
}

} // namespace
} // namespace quarnel
