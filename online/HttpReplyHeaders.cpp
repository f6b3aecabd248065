#include "online/HttpReplyHeaders.h"

#include "online/DecimalText.h"

#include <algorithm>
#include <cctype>

namespace online {

namespace {

// More fields than any reply we ask for carries; the rest are dropped so that
// a hostile server cannot make the list grow without end.
constexpr size_t kMaxFields = 128;

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

void HttpReplyHeaders::AddLine(std::string_view line) {
    if (m_complete) {
        return; // trailers after the body are not part of the header
    }
    const std::string_view content = Trimmed(line);
    if (line.starts_with("HTTP/")) {
        // "HTTP/1.1 200 OK" or "HTTP/2 200": a new reply begins.
        m_fields.clear();
        std::string_view rest = content.substr(std::min(content.find(' '), content.size()));
        rest = Trimmed(rest);
        m_status = std::string(rest.substr(0, std::min(rest.find(' '), rest.size())));
        return;
    }
    if (content.empty()) {
        m_complete = !m_status.empty() && !AnotherReplyFollows();
        if (!m_complete) {
            m_status.clear();
            m_fields.clear();
        }
        return;
    }
    const size_t colon = content.find(':');
    if (colon == std::string_view::npos || m_fields.size() >= kMaxFields) {
        return;
    }
    m_fields.emplace_back(std::string(Trimmed(content.substr(0, colon))),
                          std::string(Trimmed(content.substr(colon + 1))));
}

std::optional<std::string> HttpReplyHeaders::Value(std::string_view name) const {
    for (const auto& [fieldName, value] : m_fields) {
        if (SameName(fieldName, name)) {
            return value;
        }
    }
    return std::nullopt;
}

bool HttpReplyHeaders::AnotherReplyFollows() const {
    const std::int64_t code = DecimalValue(m_status);
    if (code >= 100 && code < 200) {
        return true;
    }
    const bool redirect = code == 301 || code == 302 || code == 303 || code == 307 || code == 308;
    const std::optional<std::string> location = Value("Location");
    return redirect && location.has_value() && !location->empty();
}

} // namespace online
