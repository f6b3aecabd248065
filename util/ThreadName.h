#pragma once
// Names the calling thread, so a debugger, `top -H` and /proc/<pid>/task/*/comm
// tell the program's threads apart. Header-only, so the hotkey library, which
// links nothing of ours, can use it too.

#include <pthread.h>

#include <algorithm>
#include <array>
#include <string_view>

namespace util {

// Linux keeps at most 15 bytes of a thread's name; a longer name is cut.
inline void NameThisThread(std::string_view name) {
    constexpr std::size_t kMaxNameBytes = 15;
    std::array<char, kMaxNameBytes + 1> cut{};
    std::copy_n(name.begin(), std::min(name.size(), kMaxNameBytes), cut.begin());
    pthread_setname_np(pthread_self(), cut.data());
}

} // namespace util
