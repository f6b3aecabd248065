#pragma once
// Device-change broadcasts for the drives of a drive list: discs arriving in
// and leaving the machine's drives (udev) and the emulated drives (their own
// disc events), each as a volume broadcast whose unit mask has the bit of
// the drive's letter. The callback runs on the thread that saw the change
// (udev's monitor thread, or whichever thread loaded or ejected an emulated
// disc); the owner marshals it to its own thread.

#include "components/quarnel/device/DevDeque.h"
#include "components/quarnel/emu/DiscEventListener.h"
#include "components/quarnel/emudrives/EmulatedDriveProvider.h"
#include "platform/devchange/DeviceBroadcast.h"
#include "platform/devchange/UdevDiscMonitor.h"

#include <functional>
#include <memory>
#include <string>

namespace disc {

class DiscChangeWatch final : public quarnel::emu::DiscEventListener {
public:
    using Callback = std::function<void(const devchange::DeviceBroadcast&)>;

    // `drives` and `provider` (null: no emulated drives) must outlive the watch.
    DiscChangeWatch(const quarnel::DevDeque& drives, quarnel::EmulatedDriveProvider* provider,
                    Callback callback);
    ~DiscChangeWatch() override;

    void OnDiscEvent(const quarnel::emu::DiscEvent& event) override;
    // Whether the machine's drives are watched (udev could be reached).
    [[nodiscard]] bool WatchesRealDrives() const { return m_udev->IsRunning(); }

private:
    // Broadcasts the change of the listed drive named `name`; drives not in
    // the list, or without a letter, are left out.
    void Deliver(const std::string& name, bool arrived);

    const quarnel::DevDeque& m_drives;
    quarnel::EmulatedDriveProvider* m_provider = nullptr;
    Callback m_callback;
    std::unique_ptr<devchange::UdevDiscMonitor> m_udev;
};

} // namespace disc
