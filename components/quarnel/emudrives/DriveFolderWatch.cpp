#include "components/quarnel/emudrives/DriveFolderWatch.h"

#include "components/quarnel/emu/EmulatedDrive.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace quarnel {

namespace {

// disc.state is replaced by a rename; a state written in place ends with a close.
constexpr std::uint32_t kStateEvents = IN_MOVED_TO | IN_CLOSE_WRITE | IN_DELETE;

} // namespace

DriveFolderWatch::DriveFolderWatch(Callback callback) : m_callback(std::move(callback)) {
    m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify < 0) {
        return;
    }
    if (::pipe2(m_stopPipe, O_CLOEXEC) != 0) {
        ::close(m_inotify);
        m_inotify = -1;
        return;
    }
    m_thread = std::thread(&DriveFolderWatch::Run, this);
}

DriveFolderWatch::~DriveFolderWatch() {
    if (m_thread.joinable()) {
        const char stop = 1;
        static_cast<void>(::write(m_stopPipe[1], &stop, 1));
        m_thread.join();
    }
    for (const int fd : {m_inotify, m_stopPipe[0], m_stopPipe[1]}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

bool DriveFolderWatch::Add(const std::filesystem::path& folder) {
    if (m_inotify < 0) {
        return false;
    }
    const int watch = ::inotify_add_watch(m_inotify, folder.c_str(), kStateEvents);
    if (watch < 0) {
        return false;
    }
    const std::lock_guard lock(m_mutex);
    m_folders[watch] = folder;
    return true;
}

void DriveFolderWatch::Run() {
    std::array<pollfd, 2> fds{pollfd{m_inotify, POLLIN, 0}, pollfd{m_stopPipe[0], POLLIN, 0}};
    // Room for many events at once; inotify hands out whole events only.
    alignas(inotify_event) std::array<char, 16 * (sizeof(inotify_event) + NAME_MAX + 1)> buffer{};
    for (;;) {
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            return;
        }
        const ssize_t length = ::read(m_inotify, buffer.data(), buffer.size());
        if (length > 0) {
            Handle(buffer.data(), static_cast<std::size_t>(length));
        }
    }
}

void DriveFolderWatch::Handle(const char* events, std::size_t length) {
    for (std::size_t at = 0; at + sizeof(inotify_event) <= length;) {
        inotify_event event{};
        std::memcpy(&event, events + at, sizeof(event));
        const char* name = events + at + sizeof(inotify_event);
        at += sizeof(inotify_event) + event.len;
        if (event.len == 0 || std::strcmp(name, emu::kDiscStateFileName) != 0) {
            continue;
        }
        std::filesystem::path folder;
        {
            const std::lock_guard lock(m_mutex);
            const auto found = m_folders.find(event.wd);
            if (found == m_folders.end()) {
                continue;
            }
            folder = found->second;
        }
        m_callback(folder);
    }
}

} // namespace quarnel
