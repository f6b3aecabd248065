#pragma once
// An emulated writer reached the way the program reaches drives: a drive
// folder in a private drives folder, the provider, a DevDeque and its
// CDevCmdRW, on a manual clock.

#include "components/quarnel/device/CDevCmdRW.h"
#include "components/quarnel/device/DevDeque.h"
#include "components/quarnel/device/DriveProviders.h"
#include "components/quarnel/emu/DriveSettings.h"
#include "components/quarnel/emu/ManualClock.h"
#include "components/quarnel/emudrives/EmulatedDriveProvider.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace quarnel::test {

class EmulatedRig {
public:
    // One drive "writer" with these settings (unlimited speed unless changed)
    // holding `medium`.
    explicit EmulatedRig(emu::MediumKind medium = emu::MediumKind::CdR,
                         const std::function<void(emu::DriveSettings&)>& adjust = {});

    [[nodiscard]] const std::filesystem::path& Parent() const { return m_parent; }
    emu::ManualClock& Clock() { return *m_clock; }
    EmulatedDriveProvider& Provider() { return *m_provider; }
    DevDeque& Drives() { return *m_drives; }
    CDevCmdRW& Device();
    emu::EmulatedDrive& Emulated();

    // Builds the drive list again (a new start of the program, same process).
    void Rebuild();
    // Drops the provider and the list and starts over from the folder (a new process).
    void Restart();

    // Polls TEST UNIT READY, advancing the clock by `stepMs` between polls,
    // until the drive is ready or `maxPolls` went by; returns the progress
    // values the busy sense carried, in order.
    std::vector<std::uint16_t> WaitUntilReady(int stepMs = 500, int maxPolls = 10'000);

private:
    testsupport::TempFolder m_temp;
    std::filesystem::path m_parent;
    std::shared_ptr<emu::ManualClock> m_clock = std::make_shared<emu::ManualClock>();
    std::unique_ptr<EmulatedDriveProvider> m_provider;
    std::unique_ptr<DevDeque> m_drives;
};

// Writes `chunks` writes of 16 sectors from `address` on; the data written.
std::vector<std::uint8_t> WriteChunks(CDevCmdRW& device, unsigned long address, int chunks,
                                      std::uint8_t seed);

} // namespace quarnel::test
