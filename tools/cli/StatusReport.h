#pragma once
// One report of a command with live output: the line a person reads and the
// same facts as named fields of a JSON object.

#include <string>
#include <string_view>

namespace cli {

class StatusReport {
public:
    explicit StatusReport(std::string text);

    // A field whose value is a JSON string (escaped here) or a number.
    StatusReport& Add(std::string_view name, std::string_view value);
    StatusReport& Add(std::string_view name, long long value);
    // The field "state" ("recording", "stopped", ...): a change of it is
    // written at once, also into a log.
    StatusReport& State(std::string_view state);

    [[nodiscard]] const std::string& Text() const { return m_text; }
    [[nodiscard]] const std::string& StateName() const { return m_state; }
    // The fields as one JSON object: {"name":value,...}.
    [[nodiscard]] std::string Json() const { return "{" + m_fields + "}"; }

private:
    std::string m_text;
    std::string m_state;
    std::string m_fields; // "name":value pairs, comma-separated
};

// `text` as a JSON string literal, quotes included: quotes, backslashes and
// control characters escaped, and every byte that is not part of valid UTF-8
// replaced by U+FFFD, so that any file name gives valid JSON.
[[nodiscard]] std::string JsonString(std::string_view text);

} // namespace cli
