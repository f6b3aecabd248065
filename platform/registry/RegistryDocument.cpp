#include "platform/registry/RegistryDocument.h"

#include "platform/registry/RegistryNames.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace platform {

namespace {

constexpr std::string_view kDwordPrefix = "dword:";
constexpr std::size_t kDwordHexDigits = 8;

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::optional<DWORD> ParseDword(std::string_view text) {
    if (text.size() <= kDwordPrefix.size() ||
        !RegistryNamesEqual(text.substr(0, kDwordPrefix.size()), kDwordPrefix)) {
        return std::nullopt;
    }
    const std::string_view digits = text.substr(kDwordPrefix.size());
    if (digits.size() > kDwordHexDigits) {
        return std::nullopt;
    }
    DWORD value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

// A quoted text with '\\' and '"' escaped; empty when malformed.
std::optional<std::string> ParseText(std::string_view quoted) {
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') {
        return std::nullopt;
    }
    std::string text;
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
        char c = quoted[i];
        if (c == '"') {
            return std::nullopt;
        }
        if (c == '\\') {
            if (i + 2 >= quoted.size()) {
                return std::nullopt;
            }
            c = quoted[++i];
        }
        text += c;
    }
    return text;
}

std::string QuoteText(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + '"';
}

// The key stored under `path` in `keys` (const or not), or null.
template <typename Keys> auto* FindKeyIn(Keys& keys, std::string_view path) {
    const auto found = std::ranges::find_if(
        keys, [path](const auto& key) { return RegistryNamesEqual(key.path, path); });
    return found == keys.end() ? nullptr : &*found;
}

} // namespace

RegistryDocument RegistryDocument::Parse(std::string_view text) {
    RegistryDocument document;
    std::optional<std::string> section;
    while (!text.empty()) {
        const auto lineEnd = text.find('\n');
        const std::size_t number = document.m_lines.size();
        document.m_lines.emplace_back(text.substr(0, lineEnd));
        const std::string_view line = TrimBlanks(text.substr(0, lineEnd));
        text = lineEnd == std::string_view::npos ? std::string_view() : text.substr(lineEnd + 1);
        if (line.empty()) {
            continue;
        }
        const bool header = line.front() == '[' && line.back() == ']' && line.size() >= 2;
        if (Key* key = section && !header ? document.FindKey(*section) : nullptr) {
            key->lastLine = number; // comments and foreign lines belong to the section too
        }
        if (line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (header) {
            section = NormalKeyPath(line.substr(1, line.size() - 2));
            if (section) {
                Key& key = document.KeyFor(*section);
                key.headerLine = key.headerLine == kNoLine ? number : key.headerLine;
                key.lastLine = number;
            }
            continue;
        }
        const auto equals = line.find('=');
        if (!section || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view name = TrimBlanks(line.substr(0, equals));
        const std::string_view stored = TrimBlanks(line.substr(equals + 1));
        if (!IsStorableValueName(name)) {
            continue;
        }
        if (const auto value = ParseDword(stored)) {
            document.AddRead(*section, NamedValue{std::string(name), *value, std::nullopt, number});
        } else if (const auto quoted = ParseText(stored)) {
            document.AddRead(*section, NamedValue{std::string(name), 0, *quoted, number});
        }
    }
    return document;
}

void RegistryDocument::AddRead(std::string_view path, NamedValue value) {
    Key& key = KeyFor(path);
    const auto found = std::ranges::find_if(key.values, [&value](const NamedValue& named) {
        return RegistryNamesEqual(named.name, value.name);
    });
    if (found == key.values.end()) {
        key.values.push_back(std::move(value));
    }
    // A name given twice: the first one counts, the second line stays as it is.
}

std::string RegistryDocument::ValueLine(const NamedValue& named) {
    if (named.text) {
        return named.name + '=' + QuoteText(*named.text);
    }
    char hex[kDwordHexDigits + 1] = {};
    std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(named.value));
    return named.name + "=" + std::string(kDwordPrefix) + hex;
}

std::string RegistryDocument::Text() const {
    std::vector<const NamedValue*> owners(m_lines.size(), nullptr);
    for (const Key& key : m_keys) {
        for (const NamedValue& named : key.values) {
            if (named.line != kNoLine) {
                owners[named.line] = &named;
            }
        }
    }
    std::string text =
        m_lines.empty() ? "; Sondrel settings: registry keys and their 32-bit values\n" : "";
    const auto appendNewValues = [&text](const Key& key) {
        for (const NamedValue& named : key.values) {
            if (named.line == kNoLine) {
                text += ValueLine(named) + "\n";
            }
        }
    };
    for (std::size_t line = 0; line < m_lines.size(); ++line) {
        if (line < m_dropped.size() && m_dropped[line]) {
            continue;
        }
        const NamedValue* owner = owners[line];
        text += owner != nullptr && owner->changed ? ValueLine(*owner) : m_lines[line];
        text += '\n';
        for (const Key& key : m_keys) {
            if (key.lastLine == line) {
                appendNewValues(key);
            }
        }
    }
    for (const Key& key : m_keys) {
        if (key.lastLine == kNoLine) {
            text += "\n[" + key.path + "]\n";
            appendNewValues(key);
        }
    }
    return text;
}

bool RegistryDocument::HasKey(std::string_view path) const {
    return std::ranges::any_of(m_keys, [path](const Key& key) {
        const std::string_view stored = key.path;
        return RegistryNamesEqual(stored.substr(0, path.size()), path) &&
               (stored.size() == path.size() || stored[path.size()] == '\\');
    });
}

bool RegistryDocument::AddKey(std::string_view path) {
    if (HasKey(path)) {
        return false;
    }
    KeyFor(path);
    return true;
}

const RegistryDocument::NamedValue* RegistryDocument::FindValue(std::string_view path,
                                                                std::string_view name) const {
    const Key* key = FindKey(path);
    if (key == nullptr) {
        return nullptr;
    }
    const auto found = std::ranges::find_if(key->values, [name](const NamedValue& named) {
        return RegistryNamesEqual(named.name, name);
    });
    return found == key->values.end() ? nullptr : &*found;
}

std::optional<DWORD> RegistryDocument::Value(std::string_view path, std::string_view name) const {
    const NamedValue* named = FindValue(path, name);
    return named == nullptr || named->text ? std::nullopt : std::optional<DWORD>(named->value);
}

std::optional<std::string> RegistryDocument::TextValue(std::string_view path,
                                                       std::string_view name) const {
    const NamedValue* named = FindValue(path, name);
    return named == nullptr ? std::nullopt : named->text;
}

bool RegistryDocument::SetValue(std::string_view path, std::string_view name, DWORD value) {
    return Store(path, NamedValue{std::string(name), value, std::nullopt});
}

bool RegistryDocument::SetTextValue(std::string_view path, std::string_view name,
                                    std::string_view text) {
    return Store(path, NamedValue{std::string(name), 0, std::string(text)});
}

bool RegistryDocument::Store(std::string_view path, NamedValue value) {
    Key& key = KeyFor(path);
    const auto found = std::ranges::find_if(key.values, [&value](const NamedValue& named) {
        return RegistryNamesEqual(named.name, value.name);
    });
    if (found == key.values.end()) {
        key.values.push_back(std::move(value));
        return true;
    }
    const bool changed = found->value != value.value || found->text != value.text;
    found->value = value.value;
    found->text = std::move(value.text);
    found->changed = found->changed || changed;
    return changed;
}

bool RegistryDocument::DeleteValue(std::string_view path, std::string_view name) {
    Key* key = FindKey(path);
    if (key == nullptr) {
        return false;
    }
    const auto found = std::ranges::find_if(key->values, [name](const NamedValue& named) {
        return RegistryNamesEqual(named.name, name);
    });
    if (found == key->values.end()) {
        return false;
    }
    if (found->line != kNoLine) {
        m_dropped.resize(m_lines.size(), false);
        m_dropped[found->line] = true;
    }
    key->values.erase(found);
    return true;
}

RegistryDocument::Key* RegistryDocument::FindKey(std::string_view path) {
    return FindKeyIn(m_keys, path);
}

const RegistryDocument::Key* RegistryDocument::FindKey(std::string_view path) const {
    return FindKeyIn(m_keys, path);
}

RegistryDocument::Key& RegistryDocument::KeyFor(std::string_view path) {
    if (Key* key = FindKey(path)) {
        return *key;
    }
    // Empty keys above the new one are implied by it and need no section of
    // their own: a section that holds nothing in the file goes as well.
    const auto implied = [path](const Key& key) {
        return key.values.empty() && key.lastLine == key.headerLine &&
               key.path.size() < path.size() && path[key.path.size()] == '\\' &&
               RegistryNamesEqual(path.substr(0, key.path.size()), key.path);
    };
    for (const Key& key : m_keys) {
        if (implied(key) && key.headerLine != kNoLine) {
            m_dropped.resize(m_lines.size(), false);
            m_dropped[key.headerLine] = true;
            if (key.headerLine > 0 && TrimBlanks(m_lines[key.headerLine - 1]).empty()) {
                m_dropped[key.headerLine - 1] = true;
            }
        }
    }
    std::erase_if(m_keys, implied);
    m_keys.push_back(Key{std::string(path), {}});
    return m_keys.back();
}

} // namespace platform
