// Disc changes: the rule that decides whether the track list is read again, and udev's
// media-change events told apart from the rest. (The emulated drive's events reaching the
// track list are checked through the window, MainWindowTest.cpp.)
#include "components/quarnel/emu/EmulatedDrive.h"
#include "disc/DiscChangeRule.h"
#include "disc/DiscChangeWatch.h"
#include "disc/DriveList.h"
#include "disc/DriveSelection.h"
#include "disc/TrackRowsTable.h"
#include "tests/disc/DiscFixtures.h"

#include <gtest/gtest.h>

namespace disc {
namespace {

using devchange::DBT_DEVICEARRIVAL;
using devchange::DBT_DEVICEREMOVECOMPLETE;
using devchange::DeviceBroadcast;
using quarnel::emu::MediumKind;

constexpr std::uint32_t kDriveD = 1U << 3;

TEST(DiscChange, OnlyVolumeArrivalAndRemovalOfTheCurrentDriveCount) {
    quarnel::test::EmulatedRig rig(MediumKind::CdR);
    const quarnel::CDevCmdROM* d = &rig.Device();
    const DeviceBroadcast arrival{DBT_DEVICEARRIVAL, devchange::DBT_DEVTYP_VOLUME, kDriveD};
    const DeviceBroadcast removal{DBT_DEVICEREMOVECOMPLETE, devchange::DBT_DEVTYP_VOLUME,
                                  kDriveD | 1U << 4};
    EXPECT_EQ(OnDeviceChange(arrival, true, false, d), DiscChangeAction::ReadDiscAfterWait);
    EXPECT_EQ(OnDeviceChange(removal, true, false, d), DiscChangeAction::ReadDisc);
    EXPECT_EQ(OnDeviceChange(arrival, false, false, d), DiscChangeAction::Ignore);
    EXPECT_EQ(OnDeviceChange(arrival, true, true, d), DiscChangeAction::Ignore);
    EXPECT_EQ(OnDeviceChange(arrival, true, false, nullptr), DiscChangeAction::Ignore);
    EXPECT_EQ(OnDeviceChange({DBT_DEVICEARRIVAL, 2, 1U << 4}, true, false, d),
              DiscChangeAction::Ignore)
        << "another drive's letter";
    EXPECT_EQ(OnDeviceChange({DBT_DEVICEARRIVAL, 3, kDriveD}, true, false, d),
              DiscChangeAction::Ignore)
        << "not a volume";
    EXPECT_EQ(OnDeviceChange({0x8001, 2, kDriveD}, true, false, d), DiscChangeAction::Ignore)
        << "a removal query";
    EXPECT_EQ(devchange::VolumeBroadcast(true, 26).unitMask, 0U);
}

TEST(DiscChange, UdevMediaChangesOfOpticalDrivesOnly) {
    EXPECT_EQ(devchange::DiscChangeOf("change", "sr0", "1", "1"), true);
    EXPECT_EQ(devchange::DiscChangeOf("change", "sr1", "1", nullptr), false);
    EXPECT_EQ(devchange::DiscChangeOf("change", "sr1", "1", "0"), false);
    EXPECT_EQ(devchange::DiscChangeOf("change", "sda", "1", "1"), std::nullopt);
    EXPECT_EQ(devchange::DiscChangeOf("add", "sr0", "1", "1"), std::nullopt);
    EXPECT_EQ(devchange::DiscChangeOf("change", "sr0", nullptr, "1"), std::nullopt);
    const devchange::UdevDiscMonitor monitor([](const std::string&, bool) {});
    static_cast<void>(monitor.IsRunning());
}

} // namespace
} // namespace disc
