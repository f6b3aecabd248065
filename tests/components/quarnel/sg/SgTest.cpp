// Drive discovery on a made-up sysfs tree, and the sg_io_hdr built for each kind of
// command with how the kernel's answer (status, sense, residue, host and driver errors,
// ioctl errors) reaches the caller; the ioctl is replaced by a recorder that plays the
// kernel's part.
#include "components/quarnel/mmc/CommandBuilders.h"
#include "components/quarnel/mmc/CommandTimeouts.h"
#include "components/quarnel/sg/DriveDiscovery.h"
#include "components/quarnel/sg/SgTransport.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

namespace quarnel {
namespace {

namespace fs = std::filesystem;

class FakeSysfs : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() /
                 ("quarnel-sysfs-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
    }
    void TearDown() override { fs::remove_all(m_root); }

    void AddBlock(const std::string& folder, const std::string& name, const char* type) {
        const fs::path device = m_root / folder / name / "device";
        fs::create_directories(device);
        if (type != nullptr) {
            std::ofstream(device / "type") << type;
        }
    }

    fs::path m_root;
};

TEST_F(FakeSysfs, OpticalDrivesInNumberOrderInEitherLayout) {
    EXPECT_TRUE(FindOpticalDrives(m_root).empty());
    AddBlock("block", "sr1", "5");
    EXPECT_EQ(FindOpticalDrives(m_root), std::vector<std::string>{"/dev/sr1"}) << "no class/block";
    AddBlock("class/block", "sr10", "5\n");
    AddBlock("class/block", "sr2", "5\n");
    AddBlock("class/block", "sr0", "5\n");
    AddBlock("class/block", "sda", "0\n");
    AddBlock("class/block", "sr3", "0\n"); // an sr name with another type
    AddBlock("class/block", "sr4", nullptr);
    AddBlock("class/block", "srx", "5\n");
    const std::vector<std::string> expected = {"/dev/sr0", "/dev/sr2", "/dev/sr10"};
    EXPECT_EQ(FindOpticalDrives(m_root), expected);
}

struct Seen {
    int calls = 0;
    int fd = 0;
    int direction = 0;
    unsigned int length = 0;
    unsigned int timeoutMs = 0;
    unsigned char cmdLength = 0;
    std::vector<std::uint8_t> cdb;
    unsigned char senseRoom = 0;
    bool hasBuffer = false;
    std::vector<std::uint8_t> payload; // what a ToDevice command carried
};

// A kernel that records the request and answers as told.
class FakeKernel {
public:
    int errorToReturn = 0;
    unsigned char status = 0;
    int resid = 0;
    unsigned short hostStatus = 0;
    unsigned short driverStatus = 0;
    std::vector<std::uint8_t> sense;
    std::vector<std::uint8_t> reply;
    Seen seen;

    SgIoctl Ioctl() {
        return [this](int fd, sg_io_hdr_t& header) {
            ++seen.calls;
            seen.fd = fd;
            EXPECT_EQ(header.interface_id, 'S');
            seen.direction = header.dxfer_direction;
            seen.length = header.dxfer_len;
            seen.timeoutMs = header.timeout;
            seen.cmdLength = header.cmd_len;
            seen.cdb.assign(header.cmdp, header.cmdp + header.cmd_len);
            seen.senseRoom = header.mx_sb_len;
            seen.hasBuffer = header.dxferp != nullptr;
            if (errorToReturn != 0) {
                return errorToReturn;
            }
            auto* data = static_cast<std::uint8_t*>(header.dxferp);
            if (header.dxfer_direction == SG_DXFER_TO_DEV) {
                seen.payload.assign(data, data + header.dxfer_len);
            } else if (header.dxfer_direction == SG_DXFER_FROM_DEV) {
                std::copy_n(reply.begin(), std::min<std::size_t>(reply.size(), header.dxfer_len),
                            data);
            }
            header.status = status;
            header.resid = resid;
            header.host_status = hostStatus;
            header.driver_status = driverStatus;
            const auto senseBytes = std::min<std::size_t>(sense.size(), header.mx_sb_len);
            std::copy_n(sense.begin(), senseBytes, header.sbp);
            header.sb_len_wr = static_cast<unsigned char>(senseBytes);
            return 0;
        };
    }
};

TEST(SgTransport, ReadCommandGetsDirectionLengthAndTimeout) {
    FakeKernel kernel;
    kernel.reply.assign(34, 0x11);
    kernel.resid = 2;
    SgTransport transport("/dev/sr7", 42, kernel.Ioctl());
    std::vector<std::uint8_t> buffer(34);
    const CommandOutcome outcome = transport.Execute(
        MakeCommand(cdb::ReadDiscInformation(34), DataDirection::FromDevice, buffer));
    EXPECT_EQ(kernel.seen.fd, 42);
    EXPECT_EQ(kernel.seen.direction, SG_DXFER_FROM_DEV);
    EXPECT_EQ(kernel.seen.length, 34U);
    EXPECT_EQ(kernel.seen.cmdLength, 10);
    EXPECT_EQ(kernel.seen.cdb[0], 0x51);
    EXPECT_EQ(kernel.seen.timeoutMs, kDefaultTimeoutMs);
    EXPECT_EQ(kernel.seen.senseRoom, 64);
    EXPECT_TRUE(outcome.Ok());
    EXPECT_EQ(outcome.transferred, 32U) << "34 asked for, 2 left over";
    EXPECT_EQ(buffer[0], 0x11);
    EXPECT_EQ(transport.Name(), "/dev/sr7");
}

TEST(SgTransport, WriteCarriesTheDataWithItsTimeout) {
    FakeKernel kernel;
    SgTransport transport("/dev/sr0", 3, kernel.Ioctl());
    std::vector<std::uint8_t> sectors(16 * 2352, 0xA5);
    const CommandOutcome outcome =
        transport.Execute(MakeCommand(cdb::Write10(100, 16), DataDirection::ToDevice, sectors));
    EXPECT_EQ(kernel.seen.direction, SG_DXFER_TO_DEV);
    EXPECT_EQ(kernel.seen.length, 37632U);
    EXPECT_EQ(kernel.seen.timeoutMs, 200'000U);
    EXPECT_EQ(kernel.seen.payload, sectors);
    EXPECT_EQ(outcome.transferred, 37632U);
}

TEST(SgTransport, CheckConditionBringsTheSense) {
    FakeKernel kernel;
    kernel.status = kStatusCheckCondition;
    kernel.driverStatus = 0x08; // DRIVER_SENSE: normal with auto-sense
    kernel.sense = {0x70, 0, 0x02, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x04, 0x08, 0, 0, 0, 0};
    SgTransport transport("/dev/sr0", 3, kernel.Ioctl());
    std::vector<std::uint8_t> sectors(2352);
    const CommandOutcome outcome =
        transport.Execute(MakeCommand(cdb::Write10(0, 1), DataDirection::ToDevice, sectors));
    EXPECT_EQ(outcome.hostError, 0U);
    EXPECT_EQ(outcome.scsiStatus, kStatusCheckCondition);
    EXPECT_FALSE(outcome.Ok());
    ASSERT_EQ(outcome.senseLength, 18);
    EXPECT_EQ(outcome.sense[12], 0x04);
    EXPECT_EQ(outcome.sense[13], 0x08);
}

TEST(SgTransport, HostDriverAndIoctlErrorsReachTheCaller) {
    FakeKernel kernel;
    SgTransport transport("/dev/sr0", 3, kernel.Ioctl());
    kernel.hostStatus = 0x03; // DID_TIME_OUT
    EXPECT_EQ(transport.Execute(MakeCommand(cdb::TestUnitReady())).hostError,
              kHostErrorAdapter | 0x03);
    kernel.hostStatus = 0;
    kernel.driverStatus = 0x06; // DRIVER_TIMEOUT
    EXPECT_EQ(transport.Execute(MakeCommand(cdb::TestUnitReady())).hostError,
              kHostErrorDriver | 0x06);
    kernel.driverStatus = 0;
    kernel.errorToReturn = EIO;
    const CommandOutcome outcome = transport.Execute(MakeCommand(cdb::TestUnitReady()));
    EXPECT_EQ(outcome.hostError, kHostErrorIoctl | EIO);
    EXPECT_FALSE(outcome.Ok());
    EXPECT_EQ(outcome.transferred, 0U);
}

TEST(SgTransport, OpenRefusesAMissingNode) {
    EXPECT_EQ(SgTransport::Open("/nonexistent/sr99"), nullptr);
}

TEST(SgTransport, RealIoctlOnANonDeviceFails) {
    FakeKernel kernel;
    SgTransport transport("/dev/null", -1, &SgTransport::RealIoctl);
    const CommandOutcome outcome = transport.Execute(MakeCommand(cdb::TestUnitReady()));
    EXPECT_EQ(outcome.hostError, kHostErrorIoctl | EBADF);
}

} // namespace
} // namespace quarnel
