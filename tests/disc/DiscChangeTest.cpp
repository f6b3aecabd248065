// Disc changes: the emulated drive's events as volume broadcasts, the rule
// that decides whether the track list is read again, the drive selection,
// and udev's media-change events told apart from the rest.
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

TEST(DiscChange, EmulatedDiscEventsRefreshTheListThroughTheRule) {
    quarnel::test::EmulatedRig rig(MediumKind::CdR);
    test::RecordTake(rig, 1, 2, true);
    std::vector<DeviceBroadcast> heard;
    DiscChangeWatch watch(rig.Drives(), &rig.Provider(),
                          [&heard](const DeviceBroadcast& b) { heard.push_back(b); });
    static_cast<void>(watch.WatchesRealDrives()); // either way: no crash without udev

    TrackRowsTable rows;
    TrackAddressTable addresses;
    TrackListReader reader(rows, addresses);
    TrackPlayer player;
    const std::vector<DriveEntry> entries = ListDrives(rig.Drives());
    ASSERT_EQ(entries.size(), 1U);
    SelectDrive(rig.Drives(), entries[0].text, reader, rows, player);
    ASSERT_EQ(rows.RowCount(), 1);
    SelectDrive(rig.Drives(), "", reader, rows, player);
    EXPECT_EQ(reader.CurrentDevice(), &rig.Device()) << "an empty selector changes nothing";

    // Applies every broadcast heard so far as the window would.
    auto apply = [&](bool toCd, bool recording) {
        for (const DeviceBroadcast& broadcast : heard) {
            if (OnDeviceChange(broadcast, toCd, recording, reader.CurrentDevice()) !=
                DiscChangeAction::Ignore) {
                reader.ReadDisc(reader.CurrentDevice());
            }
        }
        heard.clear();
    };

    ASSERT_EQ(rig.Device().Eject(true), 0U);
    ASSERT_EQ(heard.size(), 1U);
    EXPECT_EQ(heard[0].eventCode, DBT_DEVICEREMOVECOMPLETE);
    EXPECT_EQ(heard[0].unitMask, kDriveD);
    apply(false, false);
    EXPECT_EQ(rows.RowCount(), 1) << "with To file chosen the list stays";

    ASSERT_EQ(rig.Device().Eject(false), 0U);
    ASSERT_EQ(heard.size(), 1U);
    EXPECT_EQ(heard[0].eventCode, DBT_DEVICEARRIVAL);
    ASSERT_TRUE(rig.Emulated().RemoveDisc());
    apply(true, true);
    EXPECT_EQ(rows.RowCount(), 1) << "nothing changes while recording";

    ASSERT_TRUE(rig.Emulated().LoadBlank(MediumKind::CdR));
    ASSERT_TRUE(rig.Emulated().RemoveDisc());
    ASSERT_EQ(heard.size(), 2U);
    apply(true, false);
    EXPECT_EQ(rows.RowCount(), 0) << "the disc left: the list empties";
}

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
