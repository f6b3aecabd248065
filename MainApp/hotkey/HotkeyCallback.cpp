#include "MainApp/hotkey/HotkeyCallback.h"

#include "MainApp/hotkey/HotkeyState.h"
#include "engine/RecordingState.h"

namespace hotkey {

namespace {

constexpr std::uint32_t kLeftCtrl = 0xA2;
constexpr std::uint32_t kRightCtrl = 0xA3;
constexpr std::uint32_t kLeftAlt = 0xA4;
constexpr std::uint32_t kRightAlt = 0xA5;

enum : std::int32_t {
    kNone = 0,
    kLeftCtrlType = 1,
    kRightCtrlType = 2,
    kLeftAltType = 3,
    kRightAltType = 4
};

bool IsCtrlType(std::int32_t type) {
    return type == kLeftCtrlType || type == kRightCtrlType;
}

bool IsAltType(std::int32_t type) {
    return type == kLeftAltType || type == kRightAltType;
}

// The start or stop is decided on the window's thread, where takes are started
// and stopped, so two quick presses cannot both see "not recording".
void Toggle() {
    IHotkeyWindow* window = g_hotkeyWindow.load(std::memory_order_relaxed);
    if (window == nullptr || !g_hotkeyPost) {
        return;
    }
    g_hotkeyPost([window] {
        if (g_notRecording.load(std::memory_order_acquire)) {
            window->StartRecording();
        } else {
            window->StopRecording();
        }
    });
}

void KeyDown(std::int32_t type, std::uint32_t vk, std::uint32_t keyValue) {
    if (type == kNone) {
        if (vk == keyValue) {
            Toggle();
        }
    } else if (vk == keyValue &&
               ((IsCtrlType(type) && g_ctrlHeld.load(std::memory_order_relaxed)) ||
                (IsAltType(type) && g_altHeld.load(std::memory_order_relaxed)))) {
        Toggle();
    } else if ((type == kLeftCtrlType && vk == kLeftCtrl) ||
               (type == kRightCtrlType && vk == kRightCtrl)) {
        g_ctrlHeld.store(true, std::memory_order_relaxed);
    } else if ((type == kLeftAltType && vk == kLeftAlt) ||
               (type == kRightAltType && vk == kRightAlt)) {
        g_altHeld.store(true, std::memory_order_relaxed);
    }
}

void SystemKeyDown(std::int32_t type, std::uint32_t vk, std::uint32_t keyValue) {
    if (!IsAltType(type)) {
        return;
    }
    if (vk == (type == kLeftAltType ? kLeftAlt : kRightAlt)) {
        g_altHeld.store(true, std::memory_order_relaxed);
    } else if (!g_altHeld.load(std::memory_order_relaxed)) {
        return;
    }
    if (vk == keyValue) {
        Toggle();
    }
}

} // namespace

std::uint32_t HotkeyCallback(std::uint32_t message, const TrindleKeyRecord* keyRecord) {
    if (g_keyUsed.load(std::memory_order_relaxed) == 0 || keyRecord == nullptr) {
        return 1;
    }
    const std::int32_t type = g_keyType.load(std::memory_order_relaxed);
    const std::uint32_t keyValue = g_keyValue.load(std::memory_order_relaxed);
    switch (message) {
    case kTrindleKeyDown:
        KeyDown(type, keyRecord->vkCode, keyValue);
        break;
    case kTrindleKeyUp:
    case kTrindleSystemKeyUp:
        g_ctrlHeld.store(false, std::memory_order_relaxed);
        g_altHeld.store(false, std::memory_order_relaxed);
        break;
    case kTrindleSystemKeyDown:
        SystemKeyDown(type, keyRecord->vkCode, keyValue);
        break;
    default:
        break;
    }
    return 1;
}

} // namespace hotkey
