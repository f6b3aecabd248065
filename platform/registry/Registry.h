#pragma once
// Registry keys with 32-bit values and one-line texts, the way the Windows
// registry functions behave, kept in a settings file that people can read and
// edit:
//
//   [HKEY_LOCAL_MACHINE\Software\Kestrune\Sondrel]
//   skinindex=dword:00000001
//   RunningTake="/home/ann/take.wav"
//
// The file is $SONDREL_REGISTRY when that is set, else
// $XDG_CONFIG_HOME/sondrel/registry.ini, else ~/.config/sondrel/registry.ini.
// Every call reads the file afresh and every change replaces it atomically
// under a lock, so another process sees a value as soon as it is written.
// Key paths and value names compare without regard to ASCII case.

#include <cstdint>
#include <span>

namespace platform {

using DWORD = std::uint32_t;
using LSTATUS = long;
using HKEY = struct RegistryKey*; // opaque handle

// The predefined root; it is always open and closing it does nothing.
extern const HKEY HKEY_LOCAL_MACHINE;

inline constexpr LSTATUS ERROR_SUCCESS = 0;
inline constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;
inline constexpr LSTATUS ERROR_ACCESS_DENIED = 5;
inline constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
inline constexpr LSTATUS ERROR_INVALID_PARAMETER = 87;
inline constexpr LSTATUS ERROR_MORE_DATA = 234;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_DWORD = 4;

// Opens `subKey` (levels separated by backslashes, a trailing one ignored;
// null or empty opens `parent` again). A missing key gives ERROR_FILE_NOT_FOUND.
LSTATUS RegOpenKeyEx(HKEY parent, const char* subKey, HKEY* result);

// Opens `subKey`, creating it when missing. A settings file that cannot be
// written (its folder cannot be created, say) gives ERROR_ACCESS_DENIED.
LSTATUS RegCreateKeyEx(HKEY parent, const char* subKey, HKEY* result);

// Reads a value. `type` and `data` may be null; `dataBytes` holds the buffer's
// size on entry and the value's size on return (a text's with its NUL). A buffer that is too small
// gives ERROR_MORE_DATA; a missing value (or key) gives ERROR_FILE_NOT_FOUND.
LSTATUS RegQueryValueEx(HKEY key, const char* valueName, DWORD* type, void* data, DWORD* dataBytes);

// Writes a value: REG_DWORD with 4 data bytes, or REG_SZ with a text and its
// terminating NUL (no other NUL, no line end). Value names must be non-empty,
// without '=', control characters or surrounding blanks, and must not start
// with '[', ';' or '#'.
LSTATUS RegSetValueEx(HKEY key, const char* valueName, DWORD type, const void* data,
                      DWORD dataBytes);

// Removes a value; ERROR_FILE_NOT_FOUND when it is not there.
LSTATUS RegDeleteValue(HKEY key, const char* valueName);

// Not in the Windows set: several 32-bit values of one key read from one
// reading of the file, or written in one update, so that values that belong
// together are never seen half old and half new by another process. `found`
// tells, after a read, whether the value is stored (`value` is then its
// value). Writing takes the same names RegSetValueEx does.
struct RegistryDword {
    const char* name = nullptr;
    DWORD value = 0;
    bool found = false;
};
LSTATUS RegQueryDwordValues(HKEY key, std::span<RegistryDword> values);
LSTATUS RegSetDwordValues(HKEY key, std::span<const RegistryDword> values);

// Closes a handle from RegOpenKeyEx or RegCreateKeyEx.
LSTATUS RegCloseKey(HKEY key);

} // namespace platform
