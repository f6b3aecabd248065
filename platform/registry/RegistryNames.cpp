#include "platform/registry/RegistryNames.h"

#include <algorithm>

namespace platform {

namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

bool RegistryNamesEqual(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

std::optional<std::string> NormalKeyPath(std::string_view path) {
    if (path.ends_with('\\')) {
        path.remove_suffix(1);
    }
    if (path.empty() || path.starts_with('\\') || path.ends_with('\\') ||
        path.find("\\\\") != std::string_view::npos || std::ranges::any_of(path, IsControl)) {
        return std::nullopt;
    }
    return std::string(path);
}

std::optional<std::string> JoinKeyPath(std::string_view parent, std::string_view subKey) {
    if (subKey.empty()) {
        return std::string(parent);
    }
    std::string joined(parent);
    joined += '\\';
    joined += subKey;
    return NormalKeyPath(joined);
}

bool IsStorableValueName(std::string_view name) {
    return !name.empty() && !IsBlank(name.front()) && !IsBlank(name.back()) &&
           name.front() != '[' && name.front() != ';' && name.front() != '#' &&
           name.find('=') == std::string_view::npos && !std::ranges::any_of(name, IsControl);
}

} // namespace platform
