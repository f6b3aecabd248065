#include "platform/profile/ProfileText.h"

#include <algorithm>

#include "platform/profile/Utf8Truncate.h"

#include <SimpleIni.h>

namespace platform {

namespace {

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

// One line as the parser should see it: a NUL byte ends the line's text (the
// parser would otherwise stop reading the whole text there), and a section
// header without its ']' counts as no line at all (the parser would otherwise
// take the rest of the text as the section name).
std::string_view CleanLine(std::string_view line) {
    line = line.substr(0, line.find('\0'));
    const std::size_t first = line.find_first_not_of(" \t");
    if (first != std::string_view::npos && line[first] == '[' &&
        line.find(']', first) == std::string_view::npos) {
        return std::string_view();
    }
    return line;
}

std::string CleanLines(std::string_view text) {
    // The byte-order mark is left for the parser, which notes it.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    const std::size_t bomBytes = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    std::string kept(text.substr(0, bomBytes));
    kept.reserve(text.size());
    std::size_t start = bomBytes;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && !IsLineEnd(text[end])) {
            ++end;
        }
        std::string line(text.substr(start, end - start));
        // A byte-order mark means something only at the very start of the
        // file; one at the start of a line (after any blanks) anywhere else is
        // dropped, so that a rewrite that puts the line first cannot give it a
        // meaning it did not have.
        for (;;) {
            const std::size_t blanks = std::min(line.find_first_not_of(" \t"), line.size());
            if (!std::string_view(line).substr(blanks).starts_with(kByteOrderMark)) {
                break;
            }
            line.erase(blanks, kByteOrderMark.size());
        }
        kept += CleanLine(line);
        while (end < text.size() && IsLineEnd(text[end])) {
            kept += text[end++];
        }
        start = end;
    }
    return kept;
}

// Repeated keys are kept in load order, so the first value is the one found.
bool Load(CSimpleIniA& ini, std::string_view text) {
    ini.SetMultiKey(true);
    ini.SetMultiLine(false);
    const std::string kept = CleanLines(text);
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
    std::string keyName(key);
    const std::string newValue(value);
    // An existing key keeps the spelling it has in the file.
    if (const CSimpleIniA::TKeyVal* keys = ini.GetSection(sectionName.c_str())) {
        const auto found = keys->find(CSimpleIniA::Entry(keyName.c_str()));
        if (found != keys->end()) {
            keyName = found->first.pItem;
        }
    }
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
