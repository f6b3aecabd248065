#pragma once
// The header of an HTTP reply, taken in line by line as it arrives. Interim
// replies (1xx) and redirects that will be followed start it afresh; the
// header is complete at the blank line that ends the final reply's header.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace online {

class HttpReplyHeaders {
public:
    // One header line as received, with or without its line end.
    void AddLine(std::string_view line);

    // The final reply's header has ended.
    bool Complete() const { return m_complete; }

    // The status code as sent, e.g. "200"; empty before a status line came.
    const std::string& StatusText() const { return m_status; }

    // The value of the first field called `name` (letter case ignored),
    // without surrounding blanks; nothing when there is no such field.
    std::optional<std::string> Value(std::string_view name) const;

private:
    // Whether a reply with this header is followed by another one.
    bool AnotherReplyFollows() const;

    std::string m_status;
    std::vector<std::pair<std::string, std::string>> m_fields;
    bool m_complete = false;
};

} // namespace online
