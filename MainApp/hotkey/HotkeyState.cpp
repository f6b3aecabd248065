#include "MainApp/hotkey/HotkeyState.h"

namespace hotkey {

std::atomic<std::uint32_t> g_keyUsed{0};
std::atomic<std::int32_t> g_keyType{-1};
std::atomic<std::uint32_t> g_keyValue{0};
std::atomic<bool> g_ctrlHeld{false};
std::atomic<bool> g_altHeld{false};
std::atomic<IHotkeyWindow*> g_hotkeyWindow{nullptr};
PostToUi g_hotkeyPost;
void* g_hotkeyLibrary = nullptr;

} // namespace hotkey
