#pragma once
// The hotkey settings in the registry, key
// HKEY_LOCAL_MACHINE\Software\Kestrune\Sondrel\Trindle, values "KeyType"
// (0 none, 1 left Ctrl, 2 right Ctrl, 3 left Alt, 4 right Alt), "KeyValue"
// (virtual-key code) and "KeyUsed" (0 or 1).

#include "platform/registry/Registry.h"

#include <cstdint>

namespace hotkey {

// Reads the three values, writing 0 for each one that is missing (and
// outputting 0 for it). When the key path can be neither opened nor created
// the outputs are left as they were.
void ReadHotkeySettings(std::int32_t& type, platform::DWORD& value, platform::DWORD& used);

// Writes the three values; false when the key path cannot be opened or
// created or a value cannot be written.
bool WriteHotkeySettings(platform::DWORD type, platform::DWORD value, platform::DWORD used);

} // namespace hotkey
