#include "components/vesplin/Mp3Settings.h"

#include "platform/profile/ProfileString.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace vesplin {

namespace {

constexpr char kSection[] = "Mp3";

// The bit rates an MPEG-1 Layer III frame can declare at 44.1 kHz.
constexpr std::array<int, 14> kLayer3BitRatesKbps{32,  40,  48,  56,  64,  80,  96,
                                                  112, 128, 160, 192, 224, 256, 320};

// The whole of `text` as a decimal number, or `fallback`.
int ParseNumber(const std::string& text, int fallback) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [last, error] = std::from_chars(text.data(), end, value);
    return (error == std::errc() && last == end && !text.empty()) ? value : fallback;
}

bool EqualsIgnoringCase(const std::string& text, std::string_view word) {
    return std::equal(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) ==
               std::toupper(static_cast<unsigned char>(b));
    });
}

} // namespace

Mp3Settings ReadMp3Settings(const std::string& iniPath) {
    Mp3Settings settings;
    const std::string mode = platform::GetPrivateProfileString(kSection, "Mode", "", iniPath);
    if (EqualsIgnoringCase(mode, "VBR")) {
        settings.mode = Mp3Mode::Vbr;
    }

    const int bitRate =
        ParseNumber(platform::GetPrivateProfileString(kSection, "BitRate", "", iniPath), 0);
    if (std::find(kLayer3BitRatesKbps.begin(), kLayer3BitRatesKbps.end(), bitRate) !=
        kLayer3BitRatesKbps.end()) {
        settings.bitRateKbps = bitRate;
    }

    const int quality =
        ParseNumber(platform::GetPrivateProfileString(kSection, "VbrQuality", "", iniPath), -1);
    if (quality >= 0 && quality <= 9) {
        settings.vbrQuality = quality;
    }
    return settings;
}

} // namespace vesplin
