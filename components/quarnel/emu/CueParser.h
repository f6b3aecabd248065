#pragma once
// Reads CUE sheet text. Accepts what real sheets contain (CRLF line ends, a
// UTF-8 byte order mark, unquoted single words, commands in any letter case,
// SONGWRITER lines it has no use for, CDTEXTFILE, whose file name it keeps for
// the image loader) and refuses malformed
// sheets with a message naming the line.

#include "components/quarnel/emu/CueSheet.h"

#include <string>
#include <string_view>

namespace quarnel::emu {

struct CueParseResult {
    bool ok = false;
    CueSheet sheet;
    std::string error; // "line 7: frame must be below 75"
};

[[nodiscard]] CueParseResult ParseCueSheet(std::string_view text);

} // namespace quarnel::emu
