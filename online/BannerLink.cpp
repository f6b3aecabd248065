#include "online/BannerLink.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace online {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return a == std::tolower(static_cast<unsigned char>(b));
           });
}

} // namespace

bool IsOpenableBannerLink(std::string_view link) {
    constexpr std::array<std::string_view, 3> kSchemes = {"http://", "https://", "mailto:"};
    const bool allowedScheme = std::any_of(kSchemes.begin(), kSchemes.end(), [link](auto scheme) {
        return StartsWithNoCase(link, scheme) && link.size() > scheme.size();
    });
    const bool controlFree = std::none_of(link.begin(), link.end(), [](char c) {
        return std::iscntrl(static_cast<unsigned char>(c)) != 0;
    });
    return allowedScheme && controlFree;
}

} // namespace online
