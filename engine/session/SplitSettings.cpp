#include "engine/session/SplitSettings.h"

#include "lang/LangText.h"
#include "platform/profile/ProfileString.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace engine {

namespace {

constexpr double kMinDb = -120.0;
constexpr double kMaxDb = -1.0;
constexpr double kMinSilenceSeconds = 0.1;
constexpr double kMaxSilenceSeconds = 600.0;
constexpr double kMinTrackSeconds = 4.0;
constexpr double kMaxTrackSeconds = 24.0 * 3600.0;

// A number that is the whole text; nothing for a malformed or empty one.
std::optional<double> Number(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

SplitSettings Clamped(SplitSettings settings) {
    settings.silenceDb = std::clamp(settings.silenceDb, kMinDb, kMaxDb);
    settings.silenceSeconds =
        std::clamp(settings.silenceSeconds, kMinSilenceSeconds, kMaxSilenceSeconds);
    settings.minTrackSeconds =
        std::clamp(settings.minTrackSeconds, kMinTrackSeconds, kMaxTrackSeconds);
    return settings;
}

} // namespace

SplitSettings SplitSettingsFrom(const std::string& iniPath) {
    SplitSettings settings;
    const auto read = [&iniPath](const char* key, double& value) {
        value =
            Number(platform::GetPrivateProfileString("Record", key, "", iniPath)).value_or(value);
    };
    read("SplitSilenceDb", settings.silenceDb);
    read("SplitSilenceSeconds", settings.silenceSeconds);
    read("SplitMinTrackSeconds", settings.minTrackSeconds);
    settings.enabled =
        platform::GetPrivateProfileString("Record", "SplitOnSilence", "", iniPath) == "1";
    return Clamped(settings);
}

SplitSettings SplitSettingsFromSoftSet() {
    return SplitSettingsFrom(lang::GetAppDir() + "SoftSet.ini");
}

std::optional<SplitSettings> SplitSettingsOverride(const std::string& text, SplitSettings base) {
    std::array<double*, 3> fields{&base.silenceDb, &base.silenceSeconds, &base.minTrackSeconds};
    std::string_view rest = text;
    for (std::size_t field = 0; field < fields.size(); ++field) {
        const std::size_t comma = rest.find(',');
        const std::string_view part = rest.substr(0, comma);
        if (!part.empty()) {
            const std::optional<double> value = Number(part);
            if (!value) {
                return std::nullopt;
            }
            *fields[field] = *value;
        }
        if (comma == std::string_view::npos) {
            rest = {};
            break;
        }
        rest.remove_prefix(comma + 1);
        if (field + 1 == fields.size()) {
            return std::nullopt; // a fourth field
        }
    }
    base.enabled = true;
    return Clamped(base);
}

} // namespace engine
