#pragma once
// Which banner links may be opened. The banner file comes over plain HTTP, so
// anyone on the way can rewrite it: its links are opened only when they are
// web or mail addresses, never local files or programs.

#include <string_view>

namespace online {

// True for "http://", "https://" and "mailto:" addresses (letter case ignored
// in the scheme) that hold no control characters.
bool IsOpenableBannerLink(std::string_view link);

} // namespace online
