#pragma once
// The stored skin index: value "skinindex" (REG_DWORD) under
// HKEY_LOCAL_MACHINE\Software\Kestrune\Sondrel\.

#include <cstdint>

namespace skin {

// With `value` 0 reads the stored index: a missing or unreadable value stores
// and returns 1. With any other value stores it and returns the write's status
// (0 on success). When a key can neither be opened nor created, returns that
// status (a non-zero error code).
std::int32_t SkinIndexSetting(std::int32_t value);

// The skin to start with: the stored index, or skin 1 when the settings key
// cannot be reached (the read then gives back an error status, not an index).
[[nodiscard]] std::int32_t ReadSkinIndexForStartup();

} // namespace skin
