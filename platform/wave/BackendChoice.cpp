#include "platform/wave/BackendChoice.h"

#include "platform/wave/MarkedSource.h"

namespace platform::wave {

namespace {

constexpr std::string_view kAlsaPrefix = "alsa:";
constexpr std::string_view kFilePrefix = "file:";
constexpr std::string_view kMarkedPrefix = "marked:";

std::optional<BackendChoice> make(BackendChoice::Kind kind, std::string_view argument) {
    BackendChoice choice;
    choice.kind = kind;
    choice.argument = std::string(argument);
    return choice;
}

} // namespace

std::string BackendChoice::Text() const {
    switch (kind) {
    case Kind::Alsa:
        return std::string(kAlsaPrefix) + argument;
    case Kind::File:
        return std::string(kFilePrefix) + argument;
    case Kind::Tone:
        return "tone";
    case Kind::Silence:
        return "silence";
    case Kind::Marked:
        return argument.empty() ? "marked" : "marked:" + argument;
    case Kind::Null:
        return "null";
    }
    return {};
}

std::optional<BackendChoice> BackendChoice::Parse(std::string_view text, WaveDirection direction) {
    const bool input = direction == WaveDirection::Input;
    if (text == "tone" || text == "silence") {
        return input ? make(text == "tone" ? Kind::Tone : Kind::Silence, {}) : std::nullopt;
    }
    if (text == "marked") {
        return input ? make(Kind::Marked, {}) : std::nullopt;
    }
    if (text.starts_with(kMarkedPrefix)) {
        text.remove_prefix(kMarkedPrefix.size());
        return input && !text.empty() && MarkedSource::ParseGaps(text) ? make(Kind::Marked, text)
                                                                       : std::nullopt;
    }
    if (text == "null") {
        return input ? std::nullopt : make(Kind::Null, {});
    }
    if (text.starts_with(kFilePrefix)) {
        text.remove_prefix(kFilePrefix.size());
        return text.empty() ? std::nullopt : make(Kind::File, text);
    }
    if (text.starts_with(kAlsaPrefix)) {
        text.remove_prefix(kAlsaPrefix.size());
    }
    return text.empty() ? std::nullopt : make(Kind::Alsa, text);
}

} // namespace platform::wave
