// The disc layer waits while a drive spins a disc up after its tray closed or
// a disc was loaded, instead of reporting it not ready.
#include "tests/components/quarnel/integration/EmulatedRig.h"

#include "components/quarnel/device/DeviceStatus.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace quarnel::test {
namespace {

TEST(BecomingReady, TestUnitReadyWaitsUntilTheDiscHasSpunUp) {
    EmulatedRig rig(emu::MediumKind::CdR, [](emu::DriveSettings& s) { s.spinUpMs = 1500; });
    ASSERT_EQ(rig.Device().Eject(true), status::kOk);
    ASSERT_EQ(rig.Device().Eject(false), status::kOk);
    // The drive's clock moves on only after the disc layer has started asking:
    // an answer of ready means it waited.
    std::thread spinUp([&rig] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        rig.Clock().Advance(std::chrono::seconds(2));
    });
    EXPECT_EQ(rig.Device().TestUnitReady(), status::kOk);
    spinUp.join();
}

// A disc just loaded spins up too, and whatever the disc layer asks first
// (the track list's READ DISC INFORMATION, a take's next writable address,
// an erase's BLANK) waits for it.
TEST(BecomingReady, EveryCommandWaitsForADiscJustLoaded) {
    EmulatedRig rig(emu::MediumKind::None, [](emu::DriveSettings& s) { s.spinUpMs = 1500; });
    const std::vector<std::function<std::uint32_t(CDevCmdRW&)>> commands{
        [](CDevCmdRW& d) {
            DISC_INFO info{};
            return d.ReadDiscInfo(info);
        },
        [](CDevCmdRW& d) {
            unsigned long next = 0;
            return d.GetNextWriteAdd(next);
        },
        [](CDevCmdRW& d) { return d.Blank(BLANK_MINIMAL); }};
    for (const auto& command : commands) {
        ASSERT_TRUE(rig.Emulated().LoadBlank(emu::MediumKind::CdRw));
        std::atomic<bool> spunUp{false};
        std::thread spinUp([&rig, &spunUp] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            spunUp.store(true); // before the clock moves: a command answered later waited
            rig.Clock().Advance(std::chrono::seconds(2));
        });
        EXPECT_EQ(command(rig.Device()), status::kOk);
        EXPECT_TRUE(spunUp.load());
        spinUp.join();
    }
}

} // namespace
} // namespace quarnel::test
