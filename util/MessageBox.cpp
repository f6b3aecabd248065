#include "util/MessageBox.h"

#include <atomic>
#include <cstdio>

namespace util {

namespace {

// Release on install, acquire on use: a thread that sees the host also sees
// everything its owner did to set it up.
std::atomic<IMessageBoxHost*> g_messageBoxHost{nullptr};

} // namespace

IMessageBoxHost* SetMessageBoxHost(IMessageBoxHost* host) {
    return g_messageBoxHost.exchange(host, std::memory_order_acq_rel);
}

int ShowMessageBox(const std::string& text, unsigned style) {
    if (IMessageBoxHost* host = g_messageBoxHost.load(std::memory_order_acquire)) {
        return host->Show(text, style);
    }
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
    return IDOK;
}

} // namespace util
