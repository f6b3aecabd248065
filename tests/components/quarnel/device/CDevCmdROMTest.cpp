// The reading side of a drive against a scripted transport: every operation's
// command, the reply's way into the caller's record, and the sense kept
// after a failure.
#include "components/quarnel/device/CDevCmdROM.h"
#include "components/quarnel/MmcOpcodes.h"
#include "components/quarnel/device/DeviceStatus.h"
#include "components/quarnel/device/SessionInfo.h"
#include "tests/components/quarnel/device/FakeDrive.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

namespace quarnel {
namespace {

using testing::FakeDrive;
using V = std::vector<std::uint8_t>;

class DriveTest : public ::testing::Test {
protected:
    std::shared_ptr<FakeDrive::Script> m_script = std::make_shared<FakeDrive::Script>();
    CDevCmdROM m_drive{std::make_unique<FakeDrive>(m_script, "/dev/sr0"), 3};

    void On(std::uint8_t opcode, FakeDrive::Handler handler) {
        m_script->handlers[opcode] = std::move(handler);
    }
    const testing::LoggedCommand& Last() const { return m_script->log.back(); }
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

TEST_F(DriveTest, InquiryKeepsTheStandardBytesOnly) {
    V reply(96, 0);
    reply[0] = 0x05;
    std::memcpy(&reply[8], "QEMU    QEMU DVD-ROM    2.5+", 28);
    std::memset(&reply[36], 'x', 60); // vendor-specific bytes
    On(op::kInquiry, testing::Reply(reply));
    INQUIRYDATA data{};
    ASSERT_EQ(m_drive.Inquiry(data), status::kOk);
    EXPECT_EQ(Last().cdb, (V{0x12, 0, 0, 0, 96, 0}));
    EXPECT_EQ(Last().dataLength, 96U);
    EXPECT_EQ(data.deviceType, 5);
    EXPECT_EQ(std::string(data.vendorId, 8), "QEMU    ");
    const char* text = reinterpret_cast<const char*>(&data) + 8;
    EXPECT_EQ(std::string(text), "QEMU    QEMU DVD-ROM    2.5+");
}

TEST_F(DriveTest, InquiryFailureLeavesTheRecord) {
    On(op::kInquiry, testing::Reply(V{5, 0, 0}));
    INQUIRYDATA data{};
    data.vendorId[0] = 'Z';
    EXPECT_EQ(m_drive.Inquiry(data),
              status::kBadReply | static_cast<std::uint32_t>(ParseError::TooShort));
    EXPECT_EQ(data.vendorId[0], 'Z');
}

TEST_F(DriveTest, TestUnitReadyKeepsTheSense) {
    On(op::kTestUnitReady, testing::Check(0x2, 0x3A, 0x01));
    const std::uint32_t result = m_drive.TestUnitReady();
    EXPECT_EQ(result, status::kCheckCondition | 0x023A01U);
    EXPECT_TRUE(m_drive.GetLastSense().NoMedium());
    EXPECT_EQ(m_script->log.size(), 1U) << "auto-sense came back: no REQUEST SENSE";

    On(op::kTestUnitReady, testing::Good());
    EXPECT_EQ(m_drive.TestUnitReady(), status::kOk);
    EXPECT_FALSE(m_drive.GetLastSense().valid) << "a good command clears the sense";
}

TEST_F(DriveTest, RequestSenseWhenNoSenseCameBack) {
    On(op::kTestUnitReady, testing::Check(0x2, 0x04, 0x00, false));
    V sense(18, 0);
    sense[0] = 0x70;
    sense[2] = 0x02;
    sense[7] = 10;
    sense[12] = 0x04;
    On(op::kRequestSense, testing::Reply(sense));
    EXPECT_EQ(m_drive.TestUnitReady(), status::kCheckCondition | 0x020400U);
    ASSERT_EQ(m_script->log.size(), 2U);
    EXPECT_EQ(Last().Opcode(), op::kRequestSense);
    EXPECT_EQ(Last().direction, DataDirection::FromDevice);
    EXPECT_TRUE(m_drive.GetLastSense().Is(0x02, 0x04, 0x00));
}

TEST_F(DriveTest, UnitAttentionIsAnsweredBySendingTheCommandAgain) {
    int calls = 0;
    On(op::kTestUnitReady, [&calls](const Command& command) {
        return ++calls == 1 ? testing::Check(0x6, 0x28, 0x00)(command) : testing::Good()(command);
    });
    EXPECT_EQ(m_drive.TestUnitReady(), status::kOk);
    EXPECT_EQ(calls, 2);
    // Only once: a drive that keeps reporting it fails the command.
    On(op::kTestUnitReady, testing::Check(0x6, 0x29, 0x00));
    EXPECT_EQ(m_drive.TestUnitReady(), status::kCheckCondition | 0x062900U);
    EXPECT_EQ(m_script->log.size(), 4U);
    EXPECT_TRUE(m_drive.GetLastSense().UnitAttention());
}

TEST_F(DriveTest, TransportFailureIsAStatusOfItsOwn) {
    On(op::kTestUnitReady, [](const Command&) {
        CommandOutcome outcome;
        outcome.hostError = 0x10005;
        return outcome;
    });
    EXPECT_EQ(m_drive.TestUnitReady(), status::kTransport | 0x10005U);
    EXPECT_FALSE(m_drive.GetLastSense().valid);
}

TEST_F(DriveTest, GetParamPageFailures) {
    unsigned char buffer[26] = {};
    SenseData_tag sense{};
    EXPECT_EQ(m_drive.GetParamPage(buffer, 26, 4, sense, 0x2A), status::kBadArgument);
    EXPECT_EQ(m_drive.GetParamPage(nullptr, 26, 3, sense, 0x2A), status::kBadArgument);
    EXPECT_TRUE(m_script->log.empty());
    On(op::kModeSense10, testing::Check(0x5, 0x24, 0x00));
    EXPECT_NE(m_drive.GetParamPage(buffer, 26, 3, sense, 0x2A), status::kOk);
    EXPECT_TRUE(sense.InvalidFieldInCdb());
    // A drive answering with another page.
    On(op::kModeSense10, testing::Reply(testing::ModeSenseReply(testing::WriteParametersPage())));
    EXPECT_EQ(m_drive.GetParamPage(buffer, 26, 3, sense, 0x2A),
              status::kBadReply | static_cast<std::uint32_t>(ParseError::WrongFormat));
}

TEST_F(DriveTest, DeviceTypeFromCapabilities) {
    const auto caps = [this](bool cd, bool dvd, bool readsDvd) {
        On(op::kModeSense10, testing::Reply(testing::ModeSenseReply(
                                 testing::CapabilitiesPage(cd, dvd, readsDvd, false))));
        return m_drive.GetDevType();
    };
    EXPECT_EQ(caps(false, false, false), DEV_CDROM);
    EXPECT_EQ(caps(true, false, false), DEV_CDRW);
    EXPECT_EQ(caps(true, false, true), DEV_CDRW) << "a DVD reader that writes CDs can erase CD-RW";
    EXPECT_EQ(caps(false, false, true), DEV_DVDROM);
    EXPECT_EQ(caps(true, true, true), DEV_DVDRW);
    On(op::kModeSense10, testing::Check(0x5, 0x24, 0));
    EXPECT_EQ(m_drive.GetDevType(), DEV_DVDRW);
}

TEST_F(DriveTest, MediumTypeIsTheCurrentProfile) {
    On(op::kGetConfiguration, testing::Reply(testing::ProfileReply(0x0A)));
    EXPECT_EQ(m_drive.GetMediumType(), MEDIUM_CD_RW);
    EXPECT_EQ(Last().cdb, (V{0x46, 0x02, 0, 0, 0, 0, 0, 0, 8, 0}));
    On(op::kGetConfiguration, testing::Check(0x2, 0x3A, 0));
    EXPECT_EQ(m_drive.GetMediumType(), MEDIUM_NONE);
    On(op::kGetConfiguration, testing::Reply(V{0, 0, 0}));
    EXPECT_EQ(m_drive.GetMediumType(), MEDIUM_NONE);
}

TEST_F(DriveTest, ReadTocFullTocIntoSessions) {
    On(op::kReadTocPmaAtip, testing::Reply(FullTocReply()));
    unsigned char buffer[2048] = {};
    ASSERT_EQ(m_drive.ReadToc(buffer, 2048, 2, 0), status::kOk);
    EXPECT_EQ(Last().cdb, (V{0x43, 0, 2, 0, 0, 0, 0, 0x08, 0x00, 0}));
    const int length = (buffer[0] << 8 | buffer[1]) - 2;
    const SessionInfo sessions(buffer + 4, length);
    ASSERT_EQ(sessions.GetSessionCount(), 1);
    const TocData* toc = sessions.GetTocData(1);
    ASSERT_NE(toc, nullptr);
    EXPECT_EQ(toc->GetFirstTrackNo(), 1);
    EXPECT_EQ(toc->GetLastTrackNo(), 2);
    EXPECT_EQ(toc->GetLeadOutStartPosEx(), (6U * 60 + 2) * 75 - 150);
}

TEST_F(DriveTest, ReadTocRefusesFormatZeroDataForAFullToc) {
    // Some emulated drives answer every format with the track table.
    V trackTable = {0, 18, 1, 1, 0, 0x10, 1, 0, 0, 0, 0, 0, 0, 0x10, 0xAA, 0, 0, 0, 0x10, 0};
    On(op::kReadTocPmaAtip, testing::Reply(trackTable));
    unsigned char buffer[2048] = {};
    EXPECT_EQ(m_drive.ReadToc(buffer, 2048, 2, 0),
              status::kBadReply | static_cast<std::uint32_t>(ParseError::WrongFormat));
    EXPECT_EQ(m_drive.ReadTocEx(buffer, 2048, 2, 0),
              status::kBadReply | static_cast<std::uint32_t>(ParseError::WrongFormat));
    EXPECT_EQ(m_drive.ReadToc(buffer, 2048, 0, 0), status::kOk);
}

TEST_F(DriveTest, ReadTocExAsksForTheHeaderFirst) {
    const V reply = FullTocReply();
    On(op::kReadTocPmaAtip, testing::Reply(reply));
    unsigned char buffer[2048] = {};
    ASSERT_EQ(m_drive.ReadTocEx(buffer, 2048, 2, 0), status::kOk);
    ASSERT_EQ(m_script->log.size(), 2U);
    EXPECT_EQ(m_script->log[0].cdb[8], 4);
    EXPECT_EQ(m_script->log[1].cdb[8], reply.size());
    EXPECT_EQ(std::memcmp(buffer, reply.data(), reply.size()), 0);
}

TEST_F(DriveTest, ReadTocIntoASmallBufferAndBadArguments) {
    On(op::kReadTocPmaAtip, testing::Reply(FullTocReply()));
    unsigned char buffer[20] = {};
    ASSERT_EQ(m_drive.ReadToc(buffer, 20, 2, 0), status::kOk);
    EXPECT_EQ(Last().cdb[8], 20);
    EXPECT_EQ(m_drive.ReadToc(buffer, 3, 2, 0), status::kBadArgument);
    EXPECT_EQ(m_drive.ReadToc(buffer, 20, 1, 0), status::kBadArgument);
    EXPECT_EQ(m_drive.ReadToc(buffer, 20, 2, 256), status::kBadArgument);
}

TEST_F(DriveTest, ShortDiscInformationIsABadReply) {
    On(op::kReadDiscInformation, testing::Reply(V(20, 0)));
    DISC_INFO info{};
    EXPECT_EQ(m_drive.ReadDiscInfo(info),
              status::kBadReply | static_cast<std::uint32_t>(ParseError::TooShort));
}

TEST_F(DriveTest, ReadCdShortTransferAndBadArguments) {
    On(op::kReadCd, testing::Reply(V(2000, 0x5A)));
    V buffer(2 * 2352, 0);
    EXPECT_EQ(m_drive.ReadCD_All(buffer.data(), 2352, 1, 0),
              status::kBadReply | static_cast<std::uint32_t>(ParseError::TooShort));
    EXPECT_EQ(buffer[0], 0) << "nothing copied from a short transfer";
    EXPECT_EQ(m_drive.ReadCD_All(buffer.data(), 2352, 2, 0), status::kBadArgument);
    EXPECT_EQ(m_drive.ReadCD_All(buffer.data(), 2352, 0, 0), status::kBadArgument);
    EXPECT_EQ(m_drive.ReadCD_All(nullptr, 2352, 1, 0), status::kBadArgument);
}

TEST_F(DriveTest, TrayAndLocks) {
    On(op::kStartStopUnit, testing::Good());
    On(op::kPreventAllowMediumRemoval, testing::Good());
    EXPECT_EQ(m_drive.Eject(true), status::kOk);
    EXPECT_EQ(Last().cdb, (V{0x1B, 0, 0, 0, 0x02, 0}));
    EXPECT_EQ(m_drive.Eject(false), status::kOk);
    EXPECT_EQ(Last().cdb, (V{0x1B, 0, 0, 0, 0x03, 0}));
    EXPECT_EQ(m_drive.Lock(true), status::kOk);
    EXPECT_EQ(Last().cdb, (V{0x1E, 0, 0, 0, 1, 0}));
    EXPECT_EQ(m_drive.Lock(false), status::kOk);
    EXPECT_EQ(Last().cdb, (V{0x1E, 0, 0, 0, 0, 0}));
    EXPECT_EQ(m_drive.LockVolumn(true), status::kOk);
    EXPECT_TRUE(m_script->exclusive);
    EXPECT_EQ(m_drive.LockVolumn(false), status::kOk);
    EXPECT_FALSE(m_script->exclusive);
    m_script->refuseExclusive = true;
    EXPECT_EQ(m_drive.LockVolumn(true), status::kDriveInUse);
}

// The writer thread and the main thread may use one drive at the same time
// (a write while the window polls readiness): their commands must not
// overlap in the transport, and the kept sense must stay whole.
TEST(DriveThreads, CommandsOfOneDriveAreSerialised) {
    auto script = std::make_shared<FakeDrive::Script>();
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
    const auto guarded = [&](FakeDrive::Handler handler) {
        return [&, handler](const Command& command) {
            if (inside.fetch_add(1) != 0) {
                overlapped = true;
            }
            std::this_thread::yield();
            const CommandOutcome outcome = handler(command);
            inside.fetch_sub(1);
            return outcome;
        };
    };
    script->handlers[op::kTestUnitReady] = guarded(testing::Check(0x2, 0x3A, 0x00));
    script->handlers[op::kPreventAllowMediumRemoval] = guarded(testing::Check(0x2, 0x04, 0x08));
    CDevCmdROM drive(std::make_unique<FakeDrive>(script), 3);
    constexpr int kRounds = 2000;
    std::atomic<int> torn{0};
    const auto hammer = [&](bool polls) {
        for (int round = 0; round < kRounds; ++round) {
            polls ? drive.TestUnitReady() : drive.Lock(true);
            const SenseData_tag sense = drive.GetLastSense();
            if (!sense.NoMedium() && !sense.LongWriteInProgress()) {
                ++torn;
            }
        }
    };
    std::thread poller(hammer, true);
    std::thread writer(hammer, false);
    poller.join();
    writer.join();
    EXPECT_FALSE(overlapped);
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(script->log.size(), 2U * kRounds);
}

} // namespace
} // namespace quarnel
