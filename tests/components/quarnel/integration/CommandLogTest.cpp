// SONDREL_SCSI_LOG: every command sent to a drive is one line of the log,
// with the drive, the command block, the data, the status and the sense.
#include "tests/components/quarnel/integration/EmulatedRig.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace quarnel::test {
namespace {

std::vector<std::string> Lines(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(CommandLog, HoldsEveryCommandWithItsDriveDataStatusAndSense) {
    const testsupport::TempFolder temp;
    const std::filesystem::path log = std::filesystem::path(temp.Path()) / "scsi.log";
    ::setenv("SONDREL_SCSI_LOG", log.c_str(), 1); // NOLINT(concurrency-mt-unsafe): one thread yet
    EmulatedRig rig(emu::MediumKind::None);
    ::unsetenv("SONDREL_SCSI_LOG");               // NOLINT(concurrency-mt-unsafe)
    const std::size_t before = Lines(log).size(); // the drive list's own look at the drive
    INQUIRYDATA inquiry;
    ASSERT_EQ(rig.Device().Inquiry(inquiry), 0U);
    ASSERT_NE(rig.Device().TestUnitReady(), 0U);

    std::vector<std::string> lines = Lines(log);
    ASSERT_EQ(lines.size(), before + 2) << testing::PrintToString(lines);
    lines.erase(lines.begin(), lines.begin() + static_cast<long>(before));
    const std::string drive = " " + rig.Device().GetDeviceName() + " ";
    EXPECT_NE(lines[0].find(drive + "cdb 12 00 00 00 60 00 | in 96 | status 00 | sense - | "),
              std::string::npos)
        << lines[0];
    EXPECT_NE(lines[1].find(drive + "cdb 00 00 00 00 00 00 | none 0 | status 02 | sense 2/3A/"),
              std::string::npos)
        << lines[1];
    EXPECT_NE(lines[1].find("(no disc"), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find(" ms"), std::string::npos) << lines[1];
    EXPECT_EQ(lines[1].substr(0, 2), "20") << "each line starts with the date: " << lines[1];
}

} // namespace
} // namespace quarnel::test
