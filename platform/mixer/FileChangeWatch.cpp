#include "platform/mixer/FileChangeWatch.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <system_error>
#include <unistd.h>

namespace platform::mixer {

FileChangeWatch::FileChangeWatch(const std::filesystem::path& file, std::function<void()> onChange)
    : m_fileName(file.filename().string()), m_onChange(std::move(onChange)) {
    std::filesystem::path folder = file.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    m_inotifyFd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    m_wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_inotifyFd < 0 || m_wakeFd < 0 ||
        inotify_add_watch(m_inotifyFd, folder.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE) <
            0) {
        return;
    }
    m_thread = std::thread([this] { Run(); });
}

FileChangeWatch::~FileChangeWatch() {
    if (m_thread.joinable()) {
        m_stopping.store(true, std::memory_order_relaxed);
        const std::uint64_t one = 1;
        static_cast<void>(write(m_wakeFd, &one, sizeof one));
        m_thread.join();
    }
    for (const int fd : {m_inotifyFd, m_wakeFd}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

void FileChangeWatch::Run() {
    // relaxed: the flag only ends the loop; the write to m_wakeFd is what wakes poll.
    while (!m_stopping.load(std::memory_order_relaxed)) {
        std::array<pollfd, 2> fds{{{m_inotifyFd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}}};
        if (poll(fds.data(), fds.size(), -1) < 0 || m_stopping.load(std::memory_order_relaxed)) {
            continue;
        }
        alignas(inotify_event) std::array<char, 4096> buffer{};
        const ssize_t length = read(m_inotifyFd, buffer.data(), buffer.size());
        bool concerned = false;
        for (ssize_t offset = 0; offset < length;) {
            inotify_event event{};
            std::memcpy(&event, buffer.data() + offset, sizeof event);
            const char* name = buffer.data() + offset + sizeof event;
            concerned = concerned || (event.len > 0 && m_fileName == name);
            offset += static_cast<ssize_t>(sizeof event + event.len);
        }
        if (concerned) {
            m_onChange();
        }
    }
}

} // namespace platform::mixer
