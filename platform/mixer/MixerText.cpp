#include "platform/mixer/MixerText.h"

#include <cstring>

namespace platform::mixer {

std::string FitText(const std::string& text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    std::size_t end = maxBytes;
    // Step back over continuation bytes (10xxxxxx) to the start of the cut sequence.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0u) == 0x80u) {
        --end;
    }
    return text.substr(0, end);
}

void CopyText(char* field, std::size_t fieldBytes, const std::string& text) {
    if (fieldBytes == 0) {
        return;
    }
    const std::string fitted = FitText(text, fieldBytes - 1);
    fitted.copy(field, fitted.size());
    std::memset(field + fitted.size(), 0, fieldBytes - fitted.size());
}

} // namespace platform::mixer
