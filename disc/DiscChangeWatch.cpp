#include "disc/DiscChangeWatch.h"

namespace disc {

DiscChangeWatch::DiscChangeWatch(const quarnel::DevDeque& drives,
                                 quarnel::EmulatedDriveProvider* provider, Callback callback)
    : m_drives(drives), m_provider(provider), m_callback(std::move(callback)) {
    m_udev = std::make_unique<devchange::UdevDiscMonitor>(
        [this](const std::string& devnode, bool arrived) { Deliver(devnode, arrived); });
    if (m_provider != nullptr) {
        m_provider->AddListener(this);
    }
}

DiscChangeWatch::~DiscChangeWatch() {
    if (m_provider != nullptr) {
        m_provider->RemoveListener(this);
    }
    m_udev.reset(); // its thread ends before the callback goes
}

void DiscChangeWatch::OnDiscEvent(const quarnel::emu::DiscEvent& event) {
    Deliver(event.drive, event.kind == quarnel::emu::DiscEventKind::Arrived);
}

void DiscChangeWatch::Deliver(const std::string& name, bool arrived) {
    for (int index = 0; index < m_drives.GetDevCount(); ++index) {
        const quarnel::CDevCmdROM* device = m_drives.GetDequeItem(index);
        if (device != nullptr && device->GetDeviceID() != 0 && device->GetDeviceName() == name) {
            m_callback(devchange::VolumeBroadcast(arrived, device->GetDeviceID()));
            return;
        }
    }
}

} // namespace disc
