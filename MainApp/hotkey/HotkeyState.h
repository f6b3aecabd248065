#pragma once
// The program-wide hotkey state. The settings copies and the window are
// written on the user-interface thread by ArmHotkeys and read by the callback
// on the hotkey library's thread; each is a value of its own, so relaxed
// atomics suffice. The modifier flags are written and read by the callback only.

#include "MainApp/hotkey/IHotkeyWindow.h"

#include <atomic>
#include <cstdint>
#include <functional>

namespace hotkey {

// Runs a function on the user-interface thread, later (queued).
using PostToUi = std::function<void(std::function<void()>)>;

extern std::atomic<std::uint32_t> g_keyUsed;
extern std::atomic<std::int32_t> g_keyType; // -1 until read: matches no modifier
extern std::atomic<std::uint32_t> g_keyValue;
extern std::atomic<bool> g_ctrlHeld;
extern std::atomic<bool> g_altHeld;
extern std::atomic<IHotkeyWindow*> g_hotkeyWindow;
// How the callback reaches g_hotkeyWindow's thread. Assigned by ArmHotkeys
// only while the library is stopped; StartKey's thread start orders it before
// the callback's reads.
extern PostToUi g_hotkeyPost;
// The dlopen handle of the hotkey library; user-interface thread only.
extern void* g_hotkeyLibrary;

} // namespace hotkey
