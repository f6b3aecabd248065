#include "components/quarnel/device/DevDeque.h"

#include "components/quarnel/device/CDevCmdRW.h"
#include "components/quarnel/device/DriveProviders.h"

#include <algorithm>

namespace quarnel {

DevDeque::DevDeque() : DevDeque(CollectDrives("/sys", RegisteredDriveProviders())) {}

DevDeque::DevDeque(std::vector<std::unique_ptr<Transport>> transports) {
    // Drives that keep a letter get it first; the others take the lowest
    // letters left, in list order.
    std::vector<bool> taken(kLastDeviceId + 1, false);
    std::vector<int> ids(transports.size(), 0);
    for (std::size_t i = 0; i < transports.size(); ++i) {
        const int kept = transports[i] ? transports[i]->KeptDeviceId() : 0;
        if (kept >= kFirstDeviceId && kept <= kLastDeviceId &&
            !taken[static_cast<std::size_t>(kept)]) {
            ids[i] = kept;
            taken[static_cast<std::size_t>(kept)] = true;
        }
    }
    for (std::size_t i = 0; i < transports.size(); ++i) {
        auto& transport = transports[i];
        if (!transport) {
            continue;
        }
        if (ids[i] == 0) {
            const auto free = std::find(taken.begin() + kFirstDeviceId, taken.end(), false);
            if (free != taken.end()) {
                ids[i] = static_cast<int>(free - taken.begin());
                *free = true;
            }
        }
        const int id = ids[i];
        if (ProbeWriter(*transport)) {
            m_devices.push_back(std::make_unique<CDevCmdRW>(std::move(transport), id));
        } else {
            m_devices.push_back(std::make_unique<CDevCmdROM>(std::move(transport), id));
        }
    }
    // In letter order, as drive lists show them.
    std::stable_sort(m_devices.begin(), m_devices.end(), [](const auto& a, const auto& b) {
        return static_cast<unsigned>(a->GetDeviceID() - 1) <
               static_cast<unsigned>(b->GetDeviceID() - 1);
    });
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
