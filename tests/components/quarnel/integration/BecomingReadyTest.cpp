// The disc layer waits while a drive spins a disc up after its tray closed,
// instead of reporting it not ready.
#include "tests/components/quarnel/integration/EmulatedRig.h"

#include "components/quarnel/device/DeviceStatus.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

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

} // namespace
} // namespace quarnel::test
