#pragma once
// The keys and modifiers a hotkey can be made of, in the order the settings
// dialog lists them: F1-F12, then 0-9, then A-Z; the modifier list's position
// is the stored "KeyType".

#include "platform/registry/Registry.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace hotkey {

inline constexpr int kHotkeyKeyCount = 48;

// The virtual-key code of list position `position` (0 to 47).
platform::DWORD HotkeyKeyCode(int position);
// The list position of a virtual-key code; nothing for a code the list lacks.
std::optional<int> HotkeyKeyPosition(platform::DWORD code);
// "F1".."F12", "0".."9", "A".."Z".
std::string HotkeyKeyName(int position);

inline constexpr std::array<std::string_view, 5> kHotkeyModifierNames = {
    "None", "Left Ctrl", "Right Ctrl", "Left Alt", "Right Alt"};

} // namespace hotkey
