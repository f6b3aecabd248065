#include "disc/DiscChangeRule.h"

namespace disc {

DiscChangeAction OnDeviceChange(const devchange::DeviceBroadcast& broadcast, bool toCdChosen,
                                bool recording, const quarnel::CDevCmdROM* currentDevice) {
    if (!toCdChosen || recording || currentDevice == nullptr) {
        return DiscChangeAction::Ignore;
    }
    const bool arrival = broadcast.eventCode == devchange::DBT_DEVICEARRIVAL;
    if ((!arrival && broadcast.eventCode != devchange::DBT_DEVICEREMOVECOMPLETE) ||
        broadcast.deviceType != devchange::DBT_DEVTYP_VOLUME) {
        return DiscChangeAction::Ignore;
    }
    const int id = currentDevice->GetDeviceID();
    if (id < 0 || id >= 32 || (broadcast.unitMask & (1U << id)) == 0) {
        return DiscChangeAction::Ignore;
    }
    return arrival ? DiscChangeAction::ReadDiscAfterWait : DiscChangeAction::ReadDisc;
}

} // namespace disc
