#pragma once
// The contents of the registry settings file: keys in the order they were
// first seen, each with its 32-bit values. Text form:
//
//   ; comment
//   [HKEY_LOCAL_MACHINE\Software\Kestrune\Sondrel]
//   skinindex=dword:00000001
//
// Reading is forgiving: lines that are neither a section, a comment nor a
// well-formed "name=dword:hex" value inside a section are skipped. Writing
// keeps every line the program does not own (comments, values of other types,
// lines it cannot read, other sections) as it stands: only the values it
// changed are written anew, new values follow the last line of their key's
// section and new keys come at the end. An empty section of a key that a new
// key below it implies is dropped (with the blank line before it).

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
    static constexpr std::size_t kNoLine = static_cast<std::size_t>(-1);

    struct NamedValue {
        std::string name;
        DWORD value = 0;
        std::size_t line = kNoLine; // its line in the file; kNoLine when new
        bool changed = false;       // written anew rather than as it stood
    };
    struct Key {
        std::string path;
        std::vector<NamedValue> values;
        std::size_t headerLine = kNoLine; // its section's first line in the file
        std::size_t lastLine = kNoLine;   // the last line of its section in the file
    };

    static std::string ValueLine(const NamedValue& named);
    // Stores a value read from line `line` of the file.
    void AddRead(std::string_view path, std::string_view name, DWORD value, std::size_t line);

    Key* FindKey(std::string_view path);
    const Key* FindKey(std::string_view path) const;
    Key& KeyFor(std::string_view path);

    std::vector<std::string> m_lines; // the file as read, without line ends
    std::vector<bool> m_dropped;      // lines of m_lines not written again
    std::vector<Key> m_keys;
};

} // namespace platform
