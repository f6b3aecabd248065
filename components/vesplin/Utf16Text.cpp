#include "components/vesplin/Utf16Text.h"

#include <cstdint>

namespace vesplin {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes the code point at `text[at]` and advances `at` past it.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<std::uint8_t>(text[at++]);
    if (lead < 0x80) {
        return lead;
    }
    int more = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        more = 1;
        value = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2;
        value = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3;
        value = lead & 0x07;
        smallest = 0x10000;
    } else {
        return kReplacement;
    }
    for (int i = 0; i < more; ++i) {
        if (at >= text.size() || (static_cast<std::uint8_t>(text[at]) & 0xC0) != 0x80) {
            return kReplacement;
        }
        value = (value << 6) | (static_cast<std::uint8_t>(text[at++]) & 0x3F);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    return (value < smallest || value > 0x10FFFF || surrogate) ? kReplacement : value;
}

} // namespace

std::vector<unsigned short> ToUtf16WithBom(std::string_view utf8) {
    std::vector<unsigned short> text{0xFEFF};
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t code = NextCodePoint(utf8, at);
        if (code >= 0x10000) {
            const char32_t offset = code - 0x10000;
            text.push_back(static_cast<unsigned short>(0xD800 + (offset >> 10)));
            text.push_back(static_cast<unsigned short>(0xDC00 + (offset & 0x3FF)));
        } else {
            text.push_back(static_cast<unsigned short>(code));
        }
    }
    text.push_back(0);
    return text;
}

} // namespace vesplin
