#pragma once
// UTF-8 text as the zero-terminated UTF-16 with byte order mark that the
// encoder library takes for Unicode tag texts.

#include <string_view>
#include <vector>

namespace vesplin {

// A byte that does not begin or continue a valid UTF-8 sequence (including
// overlong forms and surrogates) becomes U+FFFD.
std::vector<unsigned short> ToUtf16WithBom(std::string_view utf8);

} // namespace vesplin
