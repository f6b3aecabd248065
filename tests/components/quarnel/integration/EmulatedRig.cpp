#include "tests/components/quarnel/integration/EmulatedRig.h"

#include "components/quarnel/device/DeviceStatus.h"
#include "components/quarnel/emu/DriveFolders.h"
#include "components/quarnel/emu/DriveSettingsFile.h"
#include "components/quarnel/emu/EmulatedDrive.h"

#include <gtest/gtest.h>

namespace quarnel::test {

namespace {
constexpr int kChunkSectors = 16;
} // namespace

EmulatedRig::EmulatedRig(emu::MediumKind medium,
                         const std::function<void(emu::DriveSettings&)>& adjust)
    : m_parent(std::filesystem::path(m_temp.Path()) / "drives") {
    const std::filesystem::path folder = emu::CreateDriveFolder(m_parent, "writer", 0);
    EXPECT_FALSE(folder.empty());
    // The manual clock never lets a drive spin up on its own.
    emu::DriveSettings settings = *emu::LoadDriveSettings(folder / emu::kDriveSettingsFileName);
    settings.spinUpMs = 0;
    if (adjust) {
        adjust(settings);
    }
    EXPECT_TRUE(emu::SaveDriveSettings(folder / emu::kDriveSettingsFileName, settings));
    Restart();
    if (medium != emu::MediumKind::None) {
        EXPECT_TRUE(Emulated().LoadBlank(medium));
    }
}

void EmulatedRig::Rebuild() {
    std::vector<DriveProvider> providers{
        [this](bool writerListed) { return m_provider->Drives(writerListed); }};
    // An empty sysfs: only the emulated drive is listed.
    m_drives = std::make_unique<DevDeque>(CollectDrives(m_parent / "no-sysfs", providers));
}

void EmulatedRig::Restart() {
    m_drives.reset();
    m_provider = std::make_unique<EmulatedDriveProvider>(m_parent, m_clock);
    Rebuild();
}

CDevCmdRW& EmulatedRig::Device() {
    auto* device = dynamic_cast<CDevCmdRW*>(m_drives->GetDequeItem(0));
    EXPECT_NE(device, nullptr);
    return *device;
}

emu::EmulatedDrive& EmulatedRig::Emulated() {
    emu::EmulatedDrive* drive = m_provider->Find(*m_drives->GetDequeItem(0));
    EXPECT_NE(drive, nullptr);
    return *drive;
}

std::vector<std::uint16_t> EmulatedRig::WaitUntilReady(int stepMs, int maxPolls) {
    std::vector<std::uint16_t> progress;
    for (int poll = 0; poll < maxPolls; ++poll) {
        if (Device().TestUnitReady() == status::kOk) {
            return progress;
        }
        const SenseData sense = Device().GetLastSense();
        EXPECT_TRUE(sense.Busy()) << "not ready for another reason: " << int{sense.key} << "/"
                                  << int{sense.asc} << "/" << int{sense.ascq};
        if (!sense.Busy()) {
            return progress;
        }
        if (sense.progressValid) {
            progress.push_back(sense.progress);
        }
        m_clock->Advance(std::chrono::milliseconds(stepMs));
    }
    ADD_FAILURE() << "the drive never became ready";
    return progress;
}

std::vector<std::uint8_t> WriteChunks(CDevCmdRW& device, unsigned long address, int chunks,
                                      std::uint8_t seed) {
    std::vector<std::uint8_t> all;
    for (int chunk = 0; chunk < chunks; ++chunk, address += kChunkSectors) {
        std::vector<std::uint8_t> data =
            testsupport::AudioSectors(static_cast<std::uint32_t>(address), kChunkSectors, seed);
        EXPECT_EQ(device.Write(static_cast<long>(address), data.data(), data.size(), kChunkSectors),
                  status::kOk)
            << "write at " << address;
        all.insert(all.end(), data.begin(), data.end());
    }
    return all;
}

} // namespace quarnel::test
