#pragma once
// Cutting UTF-8 text to a byte limit without splitting a character.

#include <cstddef>
#include <string>

namespace platform {

// `text` cut to at most `maxBytes` bytes. When the cut would fall inside a
// multi-byte UTF-8 character, that whole character goes too, so the result
// never ends in half a character. Bytes that are not UTF-8 are cut as they are.
std::string TruncateUtf8(std::string text, std::size_t maxBytes);

} // namespace platform
