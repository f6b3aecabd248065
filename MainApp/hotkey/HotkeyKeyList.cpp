#include "MainApp/hotkey/HotkeyKeyList.h"

#include <cstdio>

namespace hotkey {

namespace {

constexpr int kFirstDigit = 12;  // position of "0"
constexpr int kFirstLetter = 22; // position of "A"
constexpr platform::DWORD kF1 = 112;
constexpr platform::DWORD kF12 = 123;

} // namespace

platform::DWORD HotkeyKeyCode(int position) {
    if (position < kFirstDigit) {
        return static_cast<platform::DWORD>(position) + kF1;
    }
    if (position < kFirstLetter) {
        return static_cast<platform::DWORD>(position) + ('0' - kFirstDigit);
    }
    return static_cast<platform::DWORD>(position) + ('A' - kFirstLetter);
}

std::optional<int> HotkeyKeyPosition(platform::DWORD code) {
    if (code >= kF1 && code <= kF12) {
        return static_cast<int>(code - kF1);
    }
    if (code >= '0' && code <= '9') {
        return static_cast<int>(code - '0') + kFirstDigit;
    }
    if (code >= 'A' && code <= 'Z') {
        return static_cast<int>(code - 'A') + kFirstLetter;
    }
    return std::nullopt;
}

std::string HotkeyKeyName(int position) {
    char text[16] = {};
    if (position < kFirstDigit) {
        std::snprintf(text, sizeof text, "F%d", position + 1);
    } else if (position < kFirstLetter) {
        std::snprintf(text, sizeof text, "%d", position - kFirstDigit);
    } else {
        std::snprintf(text, sizeof text, "%c", position - kFirstLetter + 'A');
    }
    return text;
}

} // namespace hotkey
