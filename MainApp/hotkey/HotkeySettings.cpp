#include "MainApp/hotkey/HotkeySettings.h"

#include <array>

namespace hotkey {

using platform::DWORD;
using platform::HKEY;

namespace {

constexpr std::array<const char*, 4> kKeyLevels = {"Software\\", "Kestrune\\", "Sondrel\\",
                                                   "Trindle\\"};

// Opens the settings key one level at a time, creating each level that cannot
// be opened; null when a level can be neither.
HKEY OpenSettingsKey() {
    HKEY key = platform::HKEY_LOCAL_MACHINE;
    for (const char* level : kKeyLevels) {
        HKEY next = nullptr;
        if (platform::RegOpenKeyEx(key, level, &next) != platform::ERROR_SUCCESS &&
            platform::RegCreateKeyEx(key, level, &next) != platform::ERROR_SUCCESS) {
            platform::RegCloseKey(key);
            return nullptr;
        }
        platform::RegCloseKey(key);
        key = next;
    }
    return key;
}

bool WriteDword(HKEY key, const char* name, DWORD value) {
    return platform::RegSetValueEx(key, name, platform::REG_DWORD, &value, sizeof value) ==
           platform::ERROR_SUCCESS;
}

// The stored value, or 0 written in its place when it cannot be read.
DWORD ReadOrResetDword(HKEY key, const char* name) {
    DWORD value = 0;
    DWORD bytes = sizeof value;
    if (platform::RegQueryValueEx(key, name, nullptr, &value, &bytes) == platform::ERROR_SUCCESS) {
        return value;
    }
    WriteDword(key, name, 0);
    return 0;
}

} // namespace

void ReadHotkeySettings(std::int32_t& type, DWORD& value, DWORD& used) {
    HKEY key = OpenSettingsKey();
    if (key == nullptr) {
        return;
    }
    type = static_cast<std::int32_t>(ReadOrResetDword(key, "KeyType"));
    value = ReadOrResetDword(key, "KeyValue");
    used = ReadOrResetDword(key, "KeyUsed");
    platform::RegCloseKey(key);
}

bool WriteHotkeySettings(DWORD type, DWORD value, DWORD used) {
    HKEY key = OpenSettingsKey();
    if (key == nullptr) {
        return false;
    }
    const bool written = WriteDword(key, "KeyType", type) && WriteDword(key, "KeyValue", value) &&
                         WriteDword(key, "KeyUsed", used);
    platform::RegCloseKey(key);
    return written;
}

} // namespace hotkey
