#pragma once
// The contents of the registry settings file: keys in the order they were
// first seen, each with its values, 32-bit numbers or one-line texts. Text
// form:
//
//   ; comment
//   [HKEY_LOCAL_MACHINE\Software\Kestrune\Sondrel]
//   skinindex=dword:00000001
//   RunningTake="/home/ann/take \"one\".wav"
//
// A text is quoted, with '\' and '"' escaped by a backslash. Reading is
// forgiving: lines that are neither a section, a comment nor a well-formed
// "name=dword:hex" or "name=\"text\"" value inside a section are skipped
// (and so are dropped when the file is written again).

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

    // A number value; empty when missing or a text.
    std::optional<DWORD> Value(std::string_view path, std::string_view name) const;
    // A text value; empty when missing or a number.
    std::optional<std::string> TextValue(std::string_view path, std::string_view name) const;
    // Store the value (replacing one of either kind), adding its key when
    // needed; return whether the document changed. A text holds no line end.
    bool SetValue(std::string_view path, std::string_view name, DWORD value);
    bool SetTextValue(std::string_view path, std::string_view name, std::string_view text);
    // Removes the value; returns whether it was there.
    bool DeleteValue(std::string_view path, std::string_view name);

private:
    struct NamedValue {
        std::string name;
        DWORD value = 0;
        std::optional<std::string> text; // set for a text value
    };
    struct Key {
        std::string path;
        std::vector<NamedValue> values;
    };

    Key* FindKey(std::string_view path);
    const Key* FindKey(std::string_view path) const;
    Key& KeyFor(std::string_view path);
    const NamedValue* FindValue(std::string_view path, std::string_view name) const;
    bool Store(std::string_view path, NamedValue value);

    std::vector<Key> m_keys;
};

} // namespace platform
