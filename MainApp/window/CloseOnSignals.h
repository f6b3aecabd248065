#pragma once
// Closes a window when the process is asked to end by SIGTERM (logout, system
// shutdown) or SIGHUP (its terminal went away), through the event loop: the
// handler only writes a byte into a pipe; a notifier on the user-interface
// thread reads it and closes the window, which finishes a running take as
// Stop does. One at a time; the default handlers come back when it goes.

#include <QSocketNotifier>
#include <QWidget>

#include <memory>

namespace window {

class CloseOnSignals {
public:
    // User-interface thread; `window` must outlive this object.
    explicit CloseOnSignals(QWidget& window);
    ~CloseOnSignals();
    CloseOnSignals(const CloseOnSignals&) = delete;
    CloseOnSignals& operator=(const CloseOnSignals&) = delete;

private:
    int m_readFd = -1;
    int m_writeFd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace window
