#include "platform/devchange/UdevDiscMonitor.h"
#include "util/ThreadName.h"

#include <cerrno>
#include <fcntl.h>
#include <libudev.h>
#include <poll.h>
#include <unistd.h>

namespace devchange {

std::optional<bool> DiscChangeOf(std::string_view action, std::string_view sysname,
                                 const char* mediaChange, const char* cdromMedia) {
    if (action != "change" || !sysname.starts_with("sr") || mediaChange == nullptr ||
        std::string_view(mediaChange) != "1") {
        return std::nullopt;
    }
    return cdromMedia != nullptr && std::string_view(cdromMedia) == "1";
}

UdevDiscMonitor::UdevDiscMonitor(Callback callback) : m_callback(std::move(callback)) {
    m_udev = udev_new();
    if (m_udev == nullptr) {
        return;
    }
    m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (m_monitor == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "block", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0 || pipe2(m_stopPipe, O_CLOEXEC) != 0) {
        return;
    }
    m_thread = std::thread([this] {
        util::NameThisThread("disc-watch");
        Run();
    });
}

UdevDiscMonitor::~UdevDiscMonitor() {
    if (m_thread.joinable()) {
        const char stop = 1;
        static_cast<void>(write(m_stopPipe[1], &stop, 1));
        m_thread.join();
    }
    for (const int fd : m_stopPipe) {
        if (fd >= 0) {
            close(fd);
        }
    }
    if (m_monitor != nullptr) {
        udev_monitor_unref(m_monitor);
    }
    if (m_udev != nullptr) {
        udev_unref(m_udev);
    }
}

void UdevDiscMonitor::Run() {
    pollfd fds[2] = {{udev_monitor_get_fd(m_monitor), POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
    for (;;) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            return;
        }
        if ((fds[0].revents & POLLIN) == 0) {
            continue;
        }
        udev_device* device = udev_monitor_receive_device(m_monitor);
        if (device == nullptr) {
            continue;
        }
        const char* action = udev_device_get_action(device);
        const char* sysname = udev_device_get_sysname(device);
        const char* devnode = udev_device_get_devnode(device);
        const std::optional<bool> arrived =
            DiscChangeOf(action != nullptr ? action : "", sysname != nullptr ? sysname : "",
                         udev_device_get_property_value(device, "DISK_MEDIA_CHANGE"),
                         udev_device_get_property_value(device, "ID_CDROM_MEDIA"));
        if (arrived && devnode != nullptr) {
            m_callback(devnode, *arrived);
        }
        udev_device_unref(device);
    }
}

} // namespace devchange
