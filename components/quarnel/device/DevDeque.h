#pragma once
// The drive list of one run. Drives get stable IDs from 3 (drive letter D)
// on in list order; a drive beyond Z gets ID 0 (no letter, unusable). A drive
// whose capabilities page offers writing, or cannot be read, is a CDevCmdRW.

#include "components/quarnel/device/CDevCmdROM.h"

#include <memory>
#include <vector>

namespace quarnel {

class DevDeque {
public:
    static constexpr int kFirstDeviceId = 3;
    static constexpr int kLastDeviceId = 25;

    // The machine's drives (/sys) followed by those of the registered providers.
    DevDeque();
    explicit DevDeque(std::vector<std::unique_ptr<Transport>> transports);
    DevDeque(const DevDeque&) = delete;
    DevDeque& operator=(const DevDeque&) = delete;
    ~DevDeque();

    [[nodiscard]] int GetDevCount() const { return static_cast<int>(m_devices.size()); }
    // Null outside 0..count-1.
    [[nodiscard]] CDevCmdROM* GetDequeItem(int index) const;
    // The drive of a drive-letter index (0 = A); null for a letter no drive has.
    [[nodiscard]] CDevCmdROM* GetDevice(unsigned char letterIndex) const;

private:
    std::vector<std::unique_ptr<CDevCmdROM>> m_devices;
};

} // namespace quarnel
