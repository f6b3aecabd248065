#include "MainApp/window/CloseOnSignals.h"

#include <array>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace window {
namespace {

constexpr std::array<int, 2> kCloseSignals{SIGTERM, SIGHUP};

// The pipe's writing end for the handler; -1 while none is installed.
std::atomic<int> g_signalWriteFd{-1};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void OnCloseSignal(int /*signal*/) {
    const int fd = g_signalWriteFd.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const char byte = 1;
        // write(2) is async-signal-safe; a full pipe already holds a request.
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
}

} // namespace

CloseOnSignals::CloseOnSignals(QWidget& window) {
    std::array<int, 2> fds{-1, -1};
    if (::pipe2(fds.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        return; // the window then ends by default on these signals
    }
    m_readFd = fds[0];
    m_writeFd = fds[1];
    m_notifier = std::make_unique<QSocketNotifier>(m_readFd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, &window, [this, &window] {
        std::array<char, 16> drained{};
        while (::read(m_readFd, drained.data(), drained.size()) > 0) {
        }
        window.close();
    });
    g_signalWriteFd.store(m_writeFd, std::memory_order_relaxed);
    for (const int signal : kCloseSignals) {
        std::signal(signal, OnCloseSignal);
    }
}

CloseOnSignals::~CloseOnSignals() {
    if (m_readFd < 0) {
        return;
    }
    for (const int signal : kCloseSignals) {
        std::signal(signal, SIG_DFL);
    }
    g_signalWriteFd.store(-1, std::memory_order_relaxed);
    m_notifier.reset();
    ::close(m_readFd);
    ::close(m_writeFd);
}

} // namespace window
