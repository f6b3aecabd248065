// The emulated drives in the drive list: order and letters that last, the
// default writer of a first start, one object per drive, disc events.
#include "components/quarnel/emudrives/EmulatedDriveProvider.h"
#include "components/quarnel/device/DevDeque.h"
#include "components/quarnel/device/DeviceStatus.h"
#include "components/quarnel/device/DriveProviders.h"
#include "components/quarnel/emu/DriveFolders.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/emu/ManualClock.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace quarnel::test {
namespace {

class RecordingListener final : public emu::DiscEventListener {
public:
    void OnDiscEvent(const emu::DiscEvent& event) override { events.push_back(event); }
    std::vector<emu::DiscEvent> events;
};

// A drive that is not emulated, named like a device node.
class SilentDrive final : public Transport {
public:
    CommandOutcome Execute(const Command&) override { return {}; }
    [[nodiscard]] std::string Name() const override { return "/dev/sr0"; }
};

class Provider : public ::testing::Test {
protected:
    std::filesystem::path Parent() const { return std::filesystem::path(m_temp.Path()) / "drives"; }
    std::shared_ptr<emu::Clock> m_clock = std::make_shared<emu::ManualClock>();

private:
    testsupport::TempFolder m_temp;
};

std::vector<std::string> Names(const std::vector<std::unique_ptr<Transport>>& drives) {
    std::vector<std::string> names;
    for (const auto& drive : drives) {
        names.push_back(std::filesystem::path(drive->Name()).filename().string());
    }
    return names;
}

TEST_F(Provider, DrivesComeInNameOrder) {
    for (const char* name : {"zeta", "alpha", "mid"}) {
        ASSERT_FALSE(emu::CreateDriveFolder(Parent(), name, 8).empty());
    }
    std::filesystem::create_directories(Parent() / "not-a-drive");
    EmulatedDriveProvider provider(Parent(), m_clock);
    EXPECT_EQ(Names(provider.Drives(false)), (std::vector<std::string>{"alpha", "mid", "zeta"}));
    EXPECT_TRUE(provider.Problems().empty());
}

TEST_F(Provider, FirstStartWithoutAnyWriterCreatesOneWithABlankCdR) {
    EmulatedDriveProvider provider(Parent(), m_clock);
    const auto drives = provider.Drives(false);
    ASSERT_EQ(Names(drives), (std::vector<std::string>{emu::kDefaultDriveName}));
    const DevDeque list(CollectDrives(
        Parent() / "no-sysfs", {[&provider](bool listed) { return provider.Drives(listed); }}));
    ASSERT_EQ(list.GetDevCount(), 1);
    EXPECT_EQ(list.GetDequeItem(0)->GetMediumType(), MEDIUM_CD_R);
    EXPECT_EQ(list.GetDequeItem(0)->GetDeviceID(), 3);
}

TEST_F(Provider, ARealWriterMeansNoDefaultDrive) {
    EmulatedDriveProvider provider(Parent(), m_clock);
    EXPECT_TRUE(provider.Drives(true).empty());
    EXPECT_TRUE(emu::ListDriveFolders(Parent()).empty());
}

TEST_F(Provider, SwitchedOffProviderListsNothing) {
    EmulatedDriveProvider provider(std::nullopt, m_clock);
    EXPECT_TRUE(provider.Drives(false).empty());
    EXPECT_FALSE(std::filesystem::exists(Parent()));
}

TEST_F(Provider, NoneInTheEnvironmentSwitchesEmulatedDrivesOff) {
    const char* before = std::getenv("SONDREL_DRIVES");
    const std::string saved = before != nullptr ? before : "";
    ::setenv("SONDREL_DRIVES", "none", 1);
    EXPECT_FALSE(EmulatedDriveProvider::ParentFromEnvironment().has_value());
    ::setenv("SONDREL_DRIVES", Parent().c_str(), 1);
    EXPECT_EQ(EmulatedDriveProvider::ParentFromEnvironment(), Parent());
    if (before != nullptr) {
        ::setenv("SONDREL_DRIVES", saved.c_str(), 1);
    } else {
        ::unsetenv("SONDREL_DRIVES");
    }
}

TEST_F(Provider, UnreadableDriveFolderIsLeftOutAndNamed) {
    ASSERT_FALSE(emu::CreateDriveFolder(Parent(), "good", 8).empty());
    ASSERT_FALSE(emu::CreateDriveFolder(Parent(), "bad", 8).empty());
    {
        std::ofstream broken(Parent() / "bad" / emu::kDriveSettingsFileName);
        broken << "[drive]\nwrite_speed=fast\n";
    }
    EmulatedDriveProvider provider(Parent(), m_clock);
    EXPECT_EQ(Names(provider.Drives(false)), (std::vector<std::string>{"good"}));
    ASSERT_EQ(provider.Problems().size(), 1U);
    EXPECT_NE(provider.Problems()[0].find("bad"), std::string::npos);
}

TEST_F(Provider, LettersStayWhenTheListIsBuiltAgain) {
    ASSERT_FALSE(emu::CreateDriveFolder(Parent(), "b", 8).empty());
    ASSERT_FALSE(emu::CreateDriveFolder(Parent(), "c", 8).empty());
    EmulatedDriveProvider provider(Parent(), m_clock);
    const DriveProvider source = [&provider](bool listed) { return provider.Drives(listed); };
    const DevDeque first(CollectDrives(Parent() / "no-sysfs", {source}));
    const DevDeque second(CollectDrives(Parent() / "no-sysfs", {source}));
    ASSERT_EQ(second.GetDevCount(), 2);
    for (int index = 0; index < 2; ++index) {
        EXPECT_EQ(first.GetDequeItem(index)->GetDeviceName(),
                  second.GetDequeItem(index)->GetDeviceName());
        EXPECT_EQ(first.GetDequeItem(index)->GetDeviceID(), 3 + index);
        EXPECT_EQ(provider.Find(*first.GetDequeItem(index)),
                  provider.Find(*second.GetDequeItem(index)))
            << "one drive object per folder";
    }
}

TEST_F(Provider, DiscEventsReachTheListener) {
    ASSERT_FALSE(emu::CreateDriveFolder(Parent(), "writer", 8).empty());
    EmulatedDriveProvider provider(Parent(), m_clock);
    RecordingListener listener;
    provider.AddListener(&listener);
    const DevDeque list(CollectDrives(
        Parent() / "no-sysfs", {[&provider](bool listed) { return provider.Drives(listed); }}));
    CDevCmdROM& device = *list.GetDequeItem(0);
    emu::EmulatedDrive* drive = provider.Find(device);
    ASSERT_NE(drive, nullptr);
    ASSERT_TRUE(drive->LoadBlank(emu::MediumKind::CdRw));
    ASSERT_EQ(device.Eject(true), status::kOk);
    ASSERT_EQ(device.Eject(false), status::kOk);
    provider.RemoveListener(&listener);
    ASSERT_EQ(device.Eject(true), status::kOk);
    ASSERT_EQ(listener.events.size(), 3U);
    EXPECT_EQ(listener.events[0].kind, emu::DiscEventKind::Arrived);
    EXPECT_EQ(listener.events[1].kind, emu::DiscEventKind::Removed);
    EXPECT_EQ(listener.events[2].kind, emu::DiscEventKind::Arrived);
    EXPECT_EQ(listener.events[0].drive, device.GetDeviceName());
}

TEST_F(Provider, RealDrivesAreNotFound) {
    ASSERT_FALSE(emu::CreateDriveFolder(Parent(), "writer", 8).empty());
    EmulatedDriveProvider provider(Parent(), m_clock);
    EXPECT_EQ(provider.Drives(false).size(), 1U);
    const CDevCmdROM stranger(std::make_unique<SilentDrive>(), 3);
    EXPECT_EQ(provider.Find(stranger), nullptr);
}

} // namespace
} // namespace quarnel::test
