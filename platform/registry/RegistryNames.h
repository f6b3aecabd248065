#pragma once
// Key paths and value names of the registry settings file: how a subkey is
// joined to its parent, which names can be stored so that they read back
// unchanged, and the case-blind comparison the registry uses.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The name of the predefined root key, the first level of every stored path.
inline constexpr std::string_view kLocalMachineName = "HKEY_LOCAL_MACHINE";

// True when `a` and `b` are equal ignoring ASCII case.
bool RegistryNamesEqual(std::string_view a, std::string_view b);

// `path` with one trailing backslash removed; nothing when a level is empty
// or holds a control character.
std::optional<std::string> NormalKeyPath(std::string_view path);

// `parent` + "\" + `subKey` as a normal path; `parent` itself for an empty
// subkey; nothing when the subkey is malformed.
std::optional<std::string> JoinKeyPath(std::string_view parent, std::string_view subKey);

// True when `name` can be written as "name=..." and read back as it is.
bool IsStorableValueName(std::string_view name);

} // namespace platform
