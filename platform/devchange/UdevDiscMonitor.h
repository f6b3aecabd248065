#pragma once
// Disc arrival and removal in the machine's optical drives, from the kernel's
// device events through libudev: a "change" event of a block device named
// sr* that carries DISK_MEDIA_CHANGE=1; the disc is there when the event
// also says ID_CDROM_MEDIA=1. A thread of the monitor waits for the events
// and calls the callback on that thread; the owner marshals it to its own.

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

struct udev;
struct udev_monitor;

namespace devchange {

// What a block device event means for a drive: nullopt when it is no media
// change of an optical drive, else true for a disc that arrived.
[[nodiscard]] std::optional<bool> DiscChangeOf(std::string_view action, std::string_view sysname,
                                               const char* mediaChange, const char* cdromMedia);

class UdevDiscMonitor {
public:
    // devnode: "/dev/sr0"; arrived: a disc is in the drive now.
    using Callback = std::function<void(const std::string& devnode, bool arrived)>;

    explicit UdevDiscMonitor(Callback callback);
    ~UdevDiscMonitor();
    UdevDiscMonitor(const UdevDiscMonitor&) = delete;
    UdevDiscMonitor& operator=(const UdevDiscMonitor&) = delete;

    // False when udev could not be reached (no events will come).
    [[nodiscard]] bool IsRunning() const { return m_thread.joinable(); }

private:
    void Run();

    Callback m_callback;
    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    int m_stopPipe[2] = {-1, -1};
    std::thread m_thread;
};

} // namespace devchange
