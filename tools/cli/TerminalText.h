#pragma once
// Text from a disc (titles, performers) made harmless for a terminal.

#include <string>
#include <string_view>

namespace cli {

// `text` with its control characters written out: C0 controls and DEL as
// "\xNN", C1 controls (UTF-8 C2 80 to C2 9F) as "\u00NN", a backslash as
// "\\". A title can then neither move the cursor, change colours nor send
// the terminal commands.
std::string TerminalText(std::string_view text);

} // namespace cli
