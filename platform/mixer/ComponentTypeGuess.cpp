#include "platform/mixer/ComponentTypeGuess.h"

#include "platform/mixer/MixerTypes.h"

#include <algorithm>
#include <cctype>

namespace platform::mixer {

namespace {

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

} // namespace

std::uint32_t ComponentTypeFromName(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (contains(lower, "mic") || contains(lower, "headset")) {
        return MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE;
    }
    if (contains(lower, "line")) {
        return MIXERLINE_COMPONENTTYPE_SRC_LINE;
    }
    if (lower == "cd" || lower.starts_with("cd ") || contains(lower, "-cd") ||
        contains(lower, " cd")) {
        return MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC;
    }
    if (contains(lower, "phone") && !contains(lower, "headphone")) {
        return MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE;
    }
    return MIXERLINE_COMPONENTTYPE_SRC_ANALOG;
}

} // namespace platform::mixer
