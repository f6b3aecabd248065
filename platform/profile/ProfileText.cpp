#include "platform/profile/ProfileText.h"

#include "platform/profile/Utf8Truncate.h"

#include <SimpleIni.h>

namespace platform {

namespace {

// The parser stops at the first NUL byte. Dropping the rest of each line from
// a NUL on keeps the lines after it readable.
std::string DropNulTails(std::string_view text) {
    std::string kept;
    kept.reserve(text.size());
    bool dropping = false;
    for (const char c : text) {
        if (c == '\n' || c == '\r') {
            dropping = false;
        } else if (c == '\0') {
            dropping = true;
        }
        if (!dropping) {
            kept.push_back(c);
        }
    }
    return kept;
}

// Repeated keys are kept in load order, so the first value is the one found.
bool Load(CSimpleIniA& ini, std::string_view text) {
    ini.SetMultiKey(true);
    ini.SetMultiLine(false);
    const std::string kept = DropNulTails(text);
    return ini.LoadData(kept.data(), kept.size()) >= 0;
}

std::string StripMatchingQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

std::string StripTrailingBlanks(std::string_view value) {
    while (!value.empty() && value.back() == ' ') {
        value.remove_suffix(1);
    }
    return std::string(value);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A value that stays one line when written.
bool IsOneLine(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// A name that reads back as itself: not empty, no blanks at either end, one line.
bool IsStorableName(std::string_view name) {
    return !name.empty() && !IsBlank(name.front()) && !IsBlank(name.back()) && IsOneLine(name);
}

bool IsStorableKey(std::string_view key) {
    return IsStorableName(key) && key.find('=') == std::string_view::npos && key.front() != ';' &&
           key.front() != '#' && key.front() != '[';
}

bool IsStorableSection(std::string_view section) {
    return IsStorableName(section) && section.find(']') == std::string_view::npos;
}

} // namespace

std::string ReadProfileText(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view defaultValue) {
    std::string value = StripTrailingBlanks(defaultValue);
    const std::string sectionName(section);
    const std::string keyName(key);
    CSimpleIniA ini;
    if (IsOneLine(section) && IsOneLine(key) && !section.empty() && !key.empty() &&
        Load(ini, text)) {
        if (const char* found = ini.GetValue(sectionName.c_str(), keyName.c_str(), nullptr)) {
            value = StripMatchingQuotes(found);
        }
    }
    return TruncateUtf8(std::move(value), kProfileBufferBytes - 1);
}

std::optional<std::string> WriteProfileText(std::string_view text, std::string_view section,
                                            std::string_view key, std::string_view value) {
    if (!IsStorableSection(section) || !IsStorableKey(key) || !IsOneLine(value)) {
        return std::nullopt;
    }
    CSimpleIniA ini;
    if (!Load(ini, text)) {
        return std::nullopt;
    }
    ini.SetSpaces(false);
    const std::string sectionName(section);
    const std::string keyName(key);
    const std::string newValue(value);
    if (ini.SetValue(sectionName.c_str(), keyName.c_str(), newValue.c_str(), nullptr, true) < 0) {
        return std::nullopt;
    }
    std::string written;
    // The byte-order mark is written again when the text had one.
    if (ini.Save(written, true) < 0) {
        return std::nullopt;
    }
    return written;
}

} // namespace platform
