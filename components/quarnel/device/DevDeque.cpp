#include "components/quarnel/device/DevDeque.h"

#include "components/quarnel/device/CDevCmdRW.h"
#include "components/quarnel/device/DriveProviders.h"

#include <algorithm>

namespace quarnel {

DevDeque::DevDeque() : DevDeque(CollectDrives("/sys", RegisteredDriveProviders())) {}

DevDeque::DevDeque(std::vector<std::unique_ptr<Transport>> transports) {
    int nextId = kFirstDeviceId;
    for (auto& transport : transports) {
        if (!transport) {
            continue;
        }
        const int id = nextId <= kLastDeviceId ? nextId++ : 0;
        if (ProbeWriter(*transport)) {
            m_devices.push_back(std::make_unique<CDevCmdRW>(std::move(transport), id));
        } else {
            m_devices.push_back(std::make_unique<CDevCmdROM>(std::move(transport), id));
        }
    }
}

DevDeque::~DevDeque() = default;

CDevCmdROM* DevDeque::GetDequeItem(int index) const {
    if (index < 0 || index >= GetDevCount()) {
        return nullptr;
    }
    return m_devices[static_cast<std::size_t>(index)].get();
}

CDevCmdROM* DevDeque::GetDevice(unsigned char letterIndex) const {
    if (letterIndex == 0) {
        return nullptr;
    }
    const auto found =
        std::find_if(m_devices.begin(), m_devices.end(), [letterIndex](const auto& device) {
            return device->GetDeviceID() == letterIndex;
        });
    return found == m_devices.end() ? nullptr : found->get();
}

} // namespace quarnel
