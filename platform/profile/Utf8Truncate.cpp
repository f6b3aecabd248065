#include "platform/profile/Utf8Truncate.h"

namespace platform {

namespace {

// Length of the UTF-8 sequence that `lead` starts; 1 for anything that is not
// a lead byte of a longer sequence.
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF7) {
        return 4;
    }
    if (lead >= 0xE0) {
        return lead <= 0xEF ? 3 : 1;
    }
    return lead >= 0xC0 ? 2 : 1;
}

} // namespace

std::string TruncateUtf8(std::string text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    std::size_t cut = maxBytes;
    // Look back over at most three continuation bytes for the lead byte of the
    // last character kept; if its sequence reaches past the cut, drop it.
    for (std::size_t back = 1; back <= 3 && back <= cut; ++back) {
        const auto byte = static_cast<unsigned char>(text[cut - back]);
        if ((byte & 0xC0) == 0x80) {
            continue;
        }
        if (SequenceLength(byte) > back) {
            cut -= back;
        }
        break;
    }
    text.resize(cut);
    return text;
}

} // namespace platform
