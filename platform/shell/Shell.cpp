#include "platform/shell/Shell.h"

#include "platform/shell/DesktopShell.h"

#include <atomic>

namespace platform {

namespace {

DesktopShell g_desktopShell;
// Release on install, acquire on use: a thread that sees the replacement also
// sees everything its owner did to set it up.
std::atomic<IShell*> g_shell{nullptr};

} // namespace

IShell& Shell() {
    IShell* installed = g_shell.load(std::memory_order_acquire);
    return installed != nullptr ? *installed : g_desktopShell;
}

IShell* SetShell(IShell* replacement) {
    return g_shell.exchange(replacement, std::memory_order_acq_rel);
}

} // namespace platform
