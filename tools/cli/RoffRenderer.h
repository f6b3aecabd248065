#pragma once
// Plain text of the man(7) macros a manual page of this program uses: .SH,
// .SS, .PP/.P/.LP, .TP, .IP, .RS/.RE, .EX/.EE and .nf/.fi, .br, .sp, the
// font macros (.B, .I, .BR, .IR, ...) and the common escapes. Fonts are
// dropped; text is filled and wrapped; other requests are ignored.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

class RoffRenderer {
public:
    explicit RoffRenderer(std::size_t width) : m_width(width) {}

    // One line of the page's source, without its newline.
    void Line(std::string_view line);
    // The text rendered so far, its last paragraph included.
    [[nodiscard]] std::string Text();

private:
    void Request(std::string_view name, const std::vector<std::string>& args);
    void Words(std::string_view text);
    void Break();
    void Paragraph(std::size_t indent);

    std::size_t m_width;
    std::string m_out;
    std::vector<std::string> m_words; // the line being filled
    std::size_t m_base = 0;           // the left margin of paragraphs
    std::size_t m_indent = 0;         // the margin of the text now
    std::size_t m_tagIndent = 0;      // the margin of a tagged paragraph's body
    bool m_tagNext = false;           // the next text is a .TP tag
    bool m_fill = true;
    bool m_joinNext = false;          // the last text ended in "\c"
    std::vector<std::size_t> m_bases; // pushed by .RS
};

// Text with roff's escapes resolved (\- \e \& \(em \fB ...); an unbreakable
// space ("\ ", "\~") becomes '\x01' for the filling to keep, and "\c" (the
// next line goes on without a space) '\x02'.
[[nodiscard]] std::string RoffUnescape(std::string_view text);

} // namespace cli
