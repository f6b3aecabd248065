#include "components/quarnel/device/DevDeque.h"

#include "components/quarnel/device/CDevCmdRW.h"
#include "components/quarnel/device/DriveProviders.h"
#include "components/quarnel/mmc/CapabilitiesPage.h"
#include "components/quarnel/mmc/CommandBuilders.h"
#include "components/quarnel/mmc/CommandTimeouts.h"
#include "components/quarnel/mmc/ModePage.h"

#include <algorithm>

namespace quarnel {

namespace {

constexpr std::uint16_t kProbeAllocation = 1024;

// Whether the drive can write, asked once before its object is made; a
// drive that does not answer is given the benefit of the doubt.
bool ProbeWriter(Transport& transport) {
    std::vector<std::uint8_t> reply(kProbeAllocation);
    const CommandOutcome outcome = transport.Execute(MakeCommand(
        cdb::ModeSense10(kCapabilitiesPage, kProbeAllocation), DataDirection::FromDevice, reply));
    if (!outcome.Ok()) {
        return true;
    }
    reply.resize(std::min<std::size_t>(outcome.transferred, reply.size()));
    const auto page = FindModePage(reply, kCapabilitiesPage);
    if (!page.Ok()) {
        return true;
    }
    const auto caps = ParseCapabilitiesPage(page.value);
    return !caps.Ok() || caps.value.CanWrite();
}

} // namespace

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
