#include "tools/cli/TerminalText.h"

#include <cstdio>

namespace cli {

namespace {

std::string Escape(const char* form, unsigned char code) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, form, code);
    return escaped;
}

} // namespace

std::string TerminalText(std::string_view text) {
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c < 0x20 || c == 0x7F) {
            shown += Escape("\\x%02x", c);
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            shown += Escape("\\u%04x", next);
            ++i;
        } else if (c == '\\') {
            shown += "\\\\";
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

} // namespace cli
