#pragma once
// The contents of the registry settings file: keys in the order they were
// first seen, each with its 32-bit values. Text form:
//
//   ; comment
//   [HKEY_LOCAL_MACHINE\Software\Kestrune\Sondrel]
//   skinindex=dword:00000001
//
// Reading is forgiving: lines that are neither a section, a comment nor a
// well-formed "name=dword:hex" value inside a section are skipped (and so are
// dropped when the file is written again).

#include "platform/registry/Registry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class RegistryDocument {
public:
    static RegistryDocument Parse(std::string_view text);
    std::string Text() const;

    // True when the key is stored itself or as the parent of a stored key.
    bool HasKey(std::string_view path) const;
    // Adds the key when HasKey is false; returns whether it was added.
    bool AddKey(std::string_view path);

    std::optional<DWORD> Value(std::string_view path, std::string_view name) const;
    // Stores the value, adding its key when needed; returns whether the
    // document changed.
    bool SetValue(std::string_view path, std::string_view name, DWORD value);

private:
    struct NamedValue {
        std::string name;
        DWORD value = 0;
    };
    struct Key {
        std::string path;
        std::vector<NamedValue> values;
    };

    Key* FindKey(std::string_view path);
    const Key* FindKey(std::string_view path) const;
    Key& KeyFor(std::string_view path);

    std::vector<Key> m_keys;
};

} // namespace platform
