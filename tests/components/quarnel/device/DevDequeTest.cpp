// The drive list: IDs and letters, writers told apart from readers, and the
// drives of providers following the machine's own.
#include "components/quarnel/device/DevDeque.h"
#include "components/quarnel/MmcOpcodes.h"
#include "components/quarnel/device/CDevCmdRW.h"
#include "components/quarnel/device/DriveProviders.h"
#include "tests/components/quarnel/device/FakeDrive.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace quarnel {
namespace {

using testing::FakeDrive;

std::unique_ptr<Transport> Drive(const std::string& name, bool writer, bool answers = true) {
    auto script = std::make_shared<FakeDrive::Script>();
    if (answers) {
        script->handlers[op::kModeSense10] = testing::Reply(
            testing::ModeSenseReply(testing::CapabilitiesPage(writer, false, false, false)));
    }
    return std::make_unique<FakeDrive>(script, name);
}

TEST(DevDeque, IdsFromDInListOrder) {
    std::vector<std::unique_ptr<Transport>> drives;
    drives.push_back(Drive("first", true));
    drives.push_back(Drive("second", false));
    const DevDeque deque(std::move(drives));
    ASSERT_EQ(deque.GetDevCount(), 2);
    EXPECT_EQ(deque.GetDequeItem(0)->GetDeviceID(), 3);
    EXPECT_EQ(deque.GetDequeItem(1)->GetDeviceID(), 4);
    EXPECT_EQ(deque.GetDevice('E' - 'A'), deque.GetDequeItem(1));
    EXPECT_EQ(deque.GetDevice('D' - 'A')->GetDeviceName(), "first");
    EXPECT_EQ(deque.GetDevice('F' - 'A'), nullptr);
    EXPECT_EQ(deque.GetDevice(0), nullptr);
    EXPECT_EQ(deque.GetDequeItem(2), nullptr);
    EXPECT_EQ(deque.GetDequeItem(-1), nullptr);
}

TEST(DevDeque, WritersAreCDevCmdRW) {
    std::vector<std::unique_ptr<Transport>> drives;
    drives.push_back(Drive("writer", true));
    drives.push_back(Drive("reader", false));
    drives.push_back(Drive("silent", false, false));
    const DevDeque deque(std::move(drives));
    EXPECT_NE(dynamic_cast<CDevCmdRW*>(deque.GetDequeItem(0)), nullptr);
    EXPECT_EQ(dynamic_cast<CDevCmdRW*>(deque.GetDequeItem(1)), nullptr);
    EXPECT_NE(dynamic_cast<CDevCmdRW*>(deque.GetDequeItem(2)), nullptr)
        << "a drive whose capabilities cannot be read is taken for a writer";
}

TEST(DevDeque, DrivesBeyondZHaveNoLetter) {
    std::vector<std::unique_ptr<Transport>> drives;
    for (int index = 0; index < 24; ++index) {
        drives.push_back(Drive("drive" + std::to_string(index), true));
    }
    drives.push_back(nullptr);
    const DevDeque deque(std::move(drives));
    ASSERT_EQ(deque.GetDevCount(), 24);
    EXPECT_EQ(deque.GetDequeItem(22)->GetDeviceID(), 25);
    EXPECT_EQ(deque.GetDequeItem(23)->GetDeviceID(), 0);
    EXPECT_EQ(deque.GetDevice('Z' - 'A'), deque.GetDequeItem(22));
}

TEST(DriveProviders, ProvidersFollowInOrder) {
    const auto root = std::filesystem::temp_directory_path() /
                      ("quarnel-empty-sysfs-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root);
    std::vector<DriveProvider> providers;
    providers.emplace_back([](bool) {
        std::vector<std::unique_ptr<Transport>> drives;
        drives.push_back(Drive("emu-a", true));
        drives.push_back(nullptr);
        drives.push_back(Drive("emu-b", true));
        return drives;
    });
    providers.emplace_back();
    providers.emplace_back([](bool) {
        std::vector<std::unique_ptr<Transport>> drives;
        drives.push_back(Drive("other", false));
        return drives;
    });
    const DevDeque deque(CollectDrives(root, providers));
    std::filesystem::remove_all(root);
    ASSERT_EQ(deque.GetDevCount(), 3);
    EXPECT_EQ(deque.GetDequeItem(0)->GetDeviceName(), "emu-a");
    EXPECT_EQ(deque.GetDequeItem(1)->GetDeviceName(), "emu-b");
    EXPECT_EQ(deque.GetDequeItem(2)->GetDeviceName(), "other");
    EXPECT_EQ(deque.GetDequeItem(2)->GetDeviceID(), 5);
}

TEST(DriveProviders, ProvidersLearnWhetherAWriterIsListed) {
    const auto root = std::filesystem::temp_directory_path() /
                      ("quarnel-empty-sysfs-w-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root);
    std::vector<bool> seen;
    const auto provider = [&seen](bool writer, bool writerListed) {
        seen.push_back(writerListed);
        std::vector<std::unique_ptr<Transport>> drives;
        drives.push_back(Drive("drive", writer));
        return drives;
    };
    std::vector<DriveProvider> providers;
    providers.emplace_back([&provider](bool listed) { return provider(false, listed); });
    providers.emplace_back([&provider](bool listed) { return provider(true, listed); });
    providers.emplace_back([&provider](bool listed) { return provider(false, listed); });
    const auto drives = CollectDrives(root, providers);
    std::filesystem::remove_all(root);
    EXPECT_EQ(drives.size(), 3U);
    EXPECT_EQ(seen, (std::vector<bool>{false, false, true}));
}

} // namespace
} // namespace quarnel
