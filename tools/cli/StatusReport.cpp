#include "tools/cli/StatusReport.h"

#include <array>
#include <cstdio>
#include <utility>

namespace cli {

namespace {

// The length of the valid UTF-8 sequence at the start of `text`; 0 when it
// is not one (a stray continuation byte, a cut or overlong sequence, a
// surrogate or a code point beyond U+10FFFF).
std::size_t Utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC2 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    if (length == 0 || length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    const auto second = static_cast<unsigned char>(length > 1 ? text[1] : 0);
    const bool overlong = (lead == 0xE0 && second < 0xA0) || (lead == 0xF0 && second < 0x90);
    const bool outOfRange = (lead == 0xED && second >= 0xA0) || (lead == 0xF4 && second >= 0x90);
    return overlong || outOfRange ? 0 : length;
}

} // namespace

StatusReport::StatusReport(std::string text) : m_text(std::move(text)) {}

StatusReport& StatusReport::Add(std::string_view name, std::string_view value) {
    m_fields += (m_fields.empty() ? "" : ",") + JsonString(name) + ":" + JsonString(value);
    return *this;
}

StatusReport& StatusReport::Add(std::string_view name, long long value) {
    m_fields += (m_fields.empty() ? "" : ",") + JsonString(name) + ":" + std::to_string(value);
    return *this;
}

StatusReport& StatusReport::State(std::string_view state) {
    m_state = state;
    return Add("state", state);
}

std::string JsonString(std::string_view text) {
    std::string json = "\"";
    while (!text.empty()) {
        const auto c = static_cast<unsigned char>(text[0]);
        const std::size_t length = Utf8SequenceLength(text);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            std::array<char, 8> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\u%04x", c);
            json += escaped.data();
        } else if (length == 0) {
            json += "\xEF\xBF\xBD";
        } else {
            json += text.substr(0, length);
        }
        text.remove_prefix(length == 0 ? 1 : length);
    }
    return json + "\"";
}

} // namespace cli
