#include "MainApp/hotkey/HotkeySettings.h"

#include <array>
#include <vector>

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

} // namespace

// The three values are read together and written together, so a writer in
// another process is never seen half done.
void ReadHotkeySettings(std::int32_t& type, DWORD& value, DWORD& used) {
    HKEY key = OpenSettingsKey();
    if (key == nullptr) {
        return;
    }
    std::array<platform::RegistryDword, 3> values{
        {{"KeyType", 0, false}, {"KeyValue", 0, false}, {"KeyUsed", 0, false}}};
    platform::RegQueryDwordValues(key, values);
    // Values that cannot be read are stored as 0 in their place.
    std::vector<platform::RegistryDword> missing;
    for (const platform::RegistryDword& named : values) {
        if (!named.found) {
            missing.push_back({named.name, 0, false});
        }
    }
    if (!missing.empty()) {
        platform::RegSetDwordValues(key, missing);
    }
    type = static_cast<std::int32_t>(values[0].value);
    value = values[1].value;
    used = values[2].value;
    platform::RegCloseKey(key);
}

bool WriteHotkeySettings(DWORD type, DWORD value, DWORD used) {
    HKEY key = OpenSettingsKey();
    if (key == nullptr) {
        return false;
    }
    const std::array<platform::RegistryDword, 3> values{
        {{"KeyType", type, false}, {"KeyValue", value, false}, {"KeyUsed", used, false}}};
    const bool written = platform::RegSetDwordValues(key, values) == platform::ERROR_SUCCESS;
    platform::RegCloseKey(key);
    return written;
}

} // namespace hotkey
