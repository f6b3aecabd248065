// A drive's commands against a scripted transport: the sense kept, retries, replies and
// arguments that cannot be used, and where drives differ.
#include "components/quarnel/MmcOpcodes.h"
#include "components/quarnel/device/CDevCmdRW.h"
#include "components/quarnel/device/DeviceStatus.h"
#include "components/quarnel/mmc/CommandTimeouts.h"
#include "tests/components/quarnel/device/FakeDrive.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarnel {
namespace {

using testing::FakeDrive;
using V = std::vector<std::uint8_t>;

constexpr std::uint32_t kSectorBytes = 2352;

class DeviceTest : public ::testing::Test {
protected:
    std::shared_ptr<FakeDrive::Script> m_script = std::make_shared<FakeDrive::Script>();
    CDevCmdRW m_device{std::make_unique<FakeDrive>(m_script, "/dev/sr0"), 3};

    void On(std::uint8_t opcode, FakeDrive::Handler handler) {
        m_script->handlers[opcode] = std::move(handler);
    }
    std::size_t Sent(std::uint8_t opcode) const {
        return static_cast<std::size_t>(
            std::count_if(m_script->log.begin(), m_script->log.end(),
                          [opcode](const auto& logged) { return logged.Opcode() == opcode; }));
    }
};

// Two audio tracks and a lead-out at 06:02:00 in one session.
V FullTocReply() {
    V reply = {0, 0,    1, 1,                         //
               1, 0x10, 0, 0xA0, 0, 0, 0, 0, 1, 0, 0, //
               1, 0x10, 0, 0xA1, 0, 0, 0, 0, 2, 0, 0, //
               1, 0x10, 0, 0xA2, 0, 0, 0, 0, 6, 2, 0, //
               1, 0x10, 0, 0x01, 0, 0, 0, 0, 0, 2, 0, //
               1, 0x10, 0, 0x02, 0, 0, 0, 0, 3, 2, 0};
    reply[1] = static_cast<std::uint8_t>(reply.size() - 2);
    return reply;
}

TEST_F(DeviceTest, TheSenseIsKeptAskedForWhenMissingAndAUnitAttentionRetriedOnce) {
    On(op::kTestUnitReady, testing::Check(0x2, 0x3A, 0x01));
    EXPECT_EQ(m_device.TestUnitReady(), status::kCheckCondition | 0x023A01U);
    EXPECT_TRUE(m_device.GetLastSense().NoMedium());
    EXPECT_EQ(m_script->log.size(), 1U) << "auto-sense came back: no REQUEST SENSE";
    On(op::kTestUnitReady, testing::Good());
    EXPECT_EQ(m_device.TestUnitReady(), status::kOk);
    EXPECT_FALSE(m_device.GetLastSense().valid) << "a good command clears the sense";

    // 2/04/00 rather than "becoming ready", which TestUnitReady waits out.
    On(op::kTestUnitReady, testing::Check(0x2, 0x04, 0x00, false));
    V sense(18, 0);
    sense[0] = 0x70;
    sense[2] = 0x02;
    sense[7] = 10;
    sense[12] = 0x04;
    On(op::kRequestSense, testing::Reply(sense));
    EXPECT_EQ(m_device.TestUnitReady(), status::kCheckCondition | 0x020400U);
    EXPECT_EQ(m_script->log.back().Opcode(), op::kRequestSense);
    EXPECT_TRUE(m_device.GetLastSense().Is(0x02, 0x04, 0x00));

    int calls = 0;
    On(op::kTestUnitReady, [&calls](const Command& command) {
        return ++calls == 1 ? testing::Check(0x6, 0x28, 0x00)(command) : testing::Good()(command);
    });
    EXPECT_EQ(m_device.TestUnitReady(), status::kOk);
    EXPECT_EQ(calls, 2);
    // Only once: a drive that keeps reporting it fails the command.
    On(op::kTestUnitReady, testing::Check(0x6, 0x29, 0x00));
    const std::size_t before = m_script->log.size();
    EXPECT_EQ(m_device.TestUnitReady(), status::kCheckCondition | 0x062900U);
    EXPECT_EQ(m_script->log.size(), before + 2);
    EXPECT_TRUE(m_device.GetLastSense().UnitAttention());

    On(op::kTestUnitReady, [](const Command&) {
        CommandOutcome outcome;
        outcome.hostError = 0x10005;
        return outcome;
    });
    EXPECT_EQ(m_device.TestUnitReady(), status::kTransport | 0x10005U);
    EXPECT_FALSE(m_device.GetLastSense().valid);
}

// Each row: the drive's answer to one opcode, the call, and its status. None
// of the refused calls may change what the caller passed in.
TEST_F(DeviceTest, RepliesAndArgumentsThatCannotBeUsedAreRefused) {
    constexpr std::uint32_t kTooShort =
        status::kBadReply | static_cast<std::uint32_t>(ParseError::TooShort);
    constexpr std::uint32_t kWrongFormat =
        status::kBadReply | static_cast<std::uint32_t>(ParseError::WrongFormat);
    // Some emulated drives answer every TOC format with the track table.
    const V trackTable = {0, 18, 1, 1, 0, 0x10, 1, 0, 0, 0, 0, 0, 0, 0x10, 0xAA, 0, 0, 0, 0x10, 0};
    V buffer(2 * kSectorBytes, 0);
    unsigned char* data = buffer.data();
    V scratch(2048, 0);
    unsigned char* toc = scratch.data();
    INQUIRYDATA inquiry{};
    inquiry.vendorId[0] = 'Z';
    DISC_INFO disc{};
    SenseData_tag sense{};
    struct Row {
        const char* what;
        std::uint8_t opcode;
        FakeDrive::Handler answer;
        std::function<std::uint32_t()> call;
        std::uint32_t expected;
    };
    CDevCmdRW& d = m_device;
    const Row rows[] = {
        {"short inquiry", op::kInquiry, testing::Reply(V{5, 0, 0}),
         [&] { return d.Inquiry(inquiry); }, kTooShort},
        {"short disc information", op::kReadDiscInformation, testing::Reply(V(20, 0)),
         [&] { return d.ReadDiscInfo(disc); }, kTooShort},
        {"short READ CD", op::kReadCd, testing::Reply(V(2000, 0x5A)),
         [&] { return d.ReadCD_All(data, 2352, 1, 0); }, kTooShort},
        {"READ CD beyond the buffer", op::kReadCd, testing::Good(),
         [&] { return d.ReadCD_All(data, 2352, 2, 0); }, status::kBadArgument},
        {"READ CD of nothing", op::kReadCd, testing::Good(),
         [&] { return d.ReadCD_All(data, 2352, 0, 0); }, status::kBadArgument},
        {"READ CD into nothing", op::kReadCd, testing::Good(),
         [&] { return d.ReadCD_All(nullptr, 2352, 1, 0); }, status::kBadArgument},
        {"track table for a full TOC", op::kReadTocPmaAtip, testing::Reply(trackTable),
         [&] { return d.ReadToc(toc, 2048, 2, 0); }, kWrongFormat},
        {"track table for a full TOC, header first", op::kReadTocPmaAtip,
         testing::Reply(trackTable), [&] { return d.ReadTocEx(toc, 2048, 2, 0); }, kWrongFormat},
        {"TOC into 3 bytes", op::kReadTocPmaAtip, testing::Reply(FullTocReply()),
         [&] { return d.ReadToc(toc, 3, 2, 0); }, status::kBadArgument},
        {"TOC format 1", op::kReadTocPmaAtip, testing::Reply(FullTocReply()),
         [&] { return d.ReadToc(toc, 20, 1, 0); }, status::kBadArgument},
        {"TOC session 256", op::kReadTocPmaAtip, testing::Reply(FullTocReply()),
         [&] { return d.ReadToc(toc, 20, 2, 256); }, status::kBadArgument},
        {"page of an unknown drive", op::kModeSense10, testing::Good(),
         [&] { return d.GetParamPage(toc, 26, 4, sense, 0x2A); }, status::kBadArgument},
        {"page into nothing", op::kModeSense10, testing::Good(),
         [&] { return d.GetParamPage(nullptr, 26, 3, sense, 0x2A); }, status::kBadArgument},
        {"another page than asked for", op::kModeSense10,
         testing::Reply(testing::ModeSenseReply(testing::WriteParametersPage())),
         [&] { return d.GetParamPage(toc, 26, 3, sense, 0x2A); }, kWrongFormat},
        {"write from nothing", op::kWrite10, testing::Good(),
         [&] { return d.Write(0, nullptr, 16 * kSectorBytes, 16); }, status::kBadArgument},
        {"write of no sectors", op::kWrite10, testing::Good(),
         [&] { return d.Write(0, data, kSectorBytes, 0); }, status::kBadArgument},
        {"write shorter than its sectors", op::kWrite10, testing::Good(),
         [&] { return d.Write(0, data, 2 * kSectorBytes - 1, 2); }, status::kBadArgument},
    };
    for (const Row& row : rows) {
        On(row.opcode, row.answer);
        EXPECT_EQ(row.call(), row.expected) << row.what;
    }
    EXPECT_EQ(inquiry.vendorId[0], 'Z');
    EXPECT_EQ(buffer, V(buffer.size(), 0)) << "nothing copied from a short transfer";
    EXPECT_EQ(Sent(op::kWrite10), 0U);
    EXPECT_EQ(Sent(op::kModeSense10), 1U) << "bad arguments never reach the drive";

    On(op::kModeSense10, testing::Check(0x5, 0x24, 0x00));
    EXPECT_NE(d.GetParamPage(toc, 26, 3, sense, 0x2A), status::kOk);
    EXPECT_TRUE(sense.InvalidFieldInCdb());
    On(op::kReadTocPmaAtip, testing::Reply(trackTable));
    EXPECT_EQ(d.ReadToc(toc, 2048, 0, 0), status::kOk) << "the track table as such is good";
}

TEST_F(DeviceTest, ReadTocExAsksForTheHeaderFirstAndReadTocForTheBuffer) {
    const V reply = FullTocReply();
    On(op::kReadTocPmaAtip, testing::Reply(reply));
    unsigned char buffer[2048] = {};
    ASSERT_EQ(m_device.ReadTocEx(buffer, 2048, 2, 0), status::kOk);
    ASSERT_EQ(m_script->log.size(), 2U);
    EXPECT_EQ(m_script->log[0].cdb[8], 4);
    EXPECT_EQ(m_script->log[1].cdb[8], reply.size());
    EXPECT_EQ(std::memcmp(buffer, reply.data(), reply.size()), 0);
    ASSERT_EQ(m_device.ReadToc(buffer, 20, 2, 0), status::kOk);
    EXPECT_EQ(m_script->log.back().cdb[8], 20);
}

TEST_F(DeviceTest, NextWritableAddressFallsBackToTheLastTrackAndAClosedDiscHasNone) {
    V track(48, 0);
    track[1] = 46;
    track[7] = 0x01; // NWA_V
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
    ASSERT_EQ(m_device.GetNextWriteAdd(address), status::kOk);
    EXPECT_EQ(address, 100UL);
    EXPECT_EQ(m_script->log.back().cdb[5], 5);

    track[7] = 0;
    On(op::kReadTrackInformation, testing::Reply(track));
    address = 77;
    EXPECT_NE(m_device.GetNextWriteAdd(address), status::kOk);
    EXPECT_EQ(address, 77UL);
    // The pre-gap before address 0 is written with negative addresses.
    On(op::kWrite10, testing::Good());
    V chunk(16 * kSectorBytes, 0);
    EXPECT_EQ(m_device.Write(-150, chunk.data(), chunk.size(), 16), status::kOk);
    EXPECT_EQ(m_script->log.back().cdb, (V{0x2A, 0, 0xFF, 0xFF, 0xFF, 0x6A, 0, 0, 16, 0}));
}

TEST_F(DeviceTest, DrivesRefusingImmedAreWaitedFor) {
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
    EXPECT_EQ(m_device.SynCache(), status::kOk);
    EXPECT_EQ(m_device.CloseSession(), status::kOk);
    EXPECT_EQ(m_device.Blank(BLANK_DISC), status::kOk);
    ASSERT_EQ(m_script->log.size(), 6U);
    EXPECT_EQ(m_script->log[1].cdb[1], 0x00);
    EXPECT_EQ(m_script->log[1].timeoutMs, kCloseTimeoutMs);
    EXPECT_EQ(m_script->log[3].cdb, (V{0x5B, 0, 2, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(m_script->log[5].timeoutMs, kBlankTimeoutMs);
    // Any other refusal is not repeated.
    On(op::kSynchronizeCache, testing::Check(0x2, 0x3A, 0x00));
    EXPECT_NE(m_device.SynCache(), status::kOk);
    EXPECT_EQ(m_script->log.size(), 7U);
}

} // namespace
} // namespace quarnel
