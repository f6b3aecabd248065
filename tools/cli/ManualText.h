#pragma once
// The manual page of sondrel-cli as plain text for "sondrel-cli help COMMAND".
// The page (docs/man/sondrel-cli.1) is the one source of the commands'
// descriptions: CMake compiles it into the program, and this renders the
// man(7) macros it uses (headings, paragraphs, tagged paragraphs, indents,
// examples, font changes) without a formatter installed.

#include <cstddef>
#include <string>
#include <string_view>

namespace cli {

// docs/man/sondrel-cli.1, as it was when the program was built.
extern const std::string_view kManualPage;

// The subsection ".SS name" of the man page `roff`, filled to `width`
// columns; empty when the page has no such subsection.
[[nodiscard]] std::string ManualSection(std::string_view roff, std::string_view name,
                                        std::size_t width);

} // namespace cli
