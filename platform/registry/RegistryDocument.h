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
// "name=dword:hex" or "name=\"text\"" value inside a section are skipped. Writing
// keeps every line the program does not own (comments, values of other types,
// lines it cannot read, other sections) as it stands: only the values it
// changed are written anew, removed values are left out, new values follow the
// last line of their key's section and new keys come at the end. An empty
// section of a key that a new key below it implies is dropped (with the blank
// line before it).

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
    static constexpr std::size_t kNoLine = static_cast<std::size_t>(-1);

    struct NamedValue {
        std::string name;
        DWORD value = 0;
        std::optional<std::string> text; // set for a text value
        std::size_t line = kNoLine;      // its line in the file; kNoLine when new
        bool changed = false;            // written anew rather than as it stood
    };
    struct Key {
        std::string path;
        std::vector<NamedValue> values;
        std::size_t headerLine = kNoLine; // its section's first line in the file
        std::size_t lastLine = kNoLine;   // the last line of its section in the file
    };

    static std::string ValueLine(const NamedValue& named);
    // Stores a value read from line `line` of the file.
    void AddRead(std::string_view path, NamedValue value);

    Key* FindKey(std::string_view path);
    const Key* FindKey(std::string_view path) const;
    Key& KeyFor(std::string_view path);
    const NamedValue* FindValue(std::string_view path, std::string_view name) const;
    bool Store(std::string_view path, NamedValue value);

    std::vector<std::string> m_lines; // the file as read, without line ends
    std::vector<bool> m_dropped;      // lines of m_lines not written again
    std::vector<Key> m_keys;
};

} // namespace platform
