#include "MainApp/hotkey/HotkeyArming.h"

#include "MainApp/hotkey/HotkeyCallback.h"
#include "MainApp/hotkey/HotkeySettings.h"
#include "util/ModuleFolder.h"

#include <dlfcn.h>

namespace hotkey {

namespace {

// Calls the library's StopKey, when it has one.
void StopLibrary() {
    if (auto stopKey = reinterpret_cast<StopKeyFunction>(dlsym(g_hotkeyLibrary, "StopKey"))) {
        stopKey();
    }
}

} // namespace

std::string DefaultHotkeyLibraryPath() {
    return util::ProgramLibraryFolder() + "libtrindle.so";
}

bool ArmHotkeys(IHotkeyWindow* mainWindow, PostToUi postToUi, const std::string& libraryPath) {
    std::int32_t type = g_keyType.load(std::memory_order_relaxed);
    platform::DWORD value = g_keyValue.load(std::memory_order_relaxed);
    platform::DWORD used = g_keyUsed.load(std::memory_order_relaxed);
    ReadHotkeySettings(type, value, used);
    g_keyType.store(type, std::memory_order_relaxed);
    g_keyValue.store(value, std::memory_order_relaxed);
    g_keyUsed.store(used, std::memory_order_relaxed);
    g_hotkeyWindow.store(mainWindow, std::memory_order_relaxed);

    if (g_hotkeyLibrary == nullptr) {
        g_hotkeyLibrary = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (g_hotkeyLibrary == nullptr) {
            return false;
        }
    }
    StopLibrary();
    // The library's thread has ended: the post function can be replaced.
    g_hotkeyPost = std::move(postToUi);
    auto startKey = reinterpret_cast<StartKeyFunction>(dlsym(g_hotkeyLibrary, "StartKey"));
    return startKey != nullptr && used == 1 && startKey(&HotkeyCallback) == 1;
}

void DisarmHotkeys() {
    if (g_hotkeyLibrary == nullptr) {
        return;
    }
    StopLibrary();
    dlclose(g_hotkeyLibrary);
    g_hotkeyLibrary = nullptr;
    g_hotkeyPost = nullptr;
}

} // namespace hotkey
