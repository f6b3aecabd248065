#include "skin/SkinColors.h"

namespace skin {

namespace {
constexpr bool IsWarmSkin(int skinIndex) {
    return skinIndex == 3 || skinIndex == 4;
}
} // namespace

std::optional<ListColors> TrackListColors(int skinIndex) {
    switch (skinIndex) {
    case 1:
        return ListColors{RGB(0, 130, 192), RGB(162, 246, 166)};
    case 2:
        return ListColors{RGB(24, 26, 37), RGB(187, 183, 240)};
    case 3:
    case 4:
        return ListColors{kBlack, RGB(162, 246, 166)};
    default:
        return std::nullopt;
    }
}

std::optional<COLORREF> ReadoutTextColor(int skinIndex) {
    if (skinIndex == 1) {
        return kReadoutGreen;
    }
    if (skinIndex >= 2 && skinIndex <= 4) {
        return kBlack;
    }
    return std::nullopt;
}

COLORREF LabelTextColor(int skinIndex) {
    return IsWarmSkin(skinIndex) ? kBlack : kLabelGreyBlue;
}

COLORREF BannerTextColor(int skinIndex) {
    return skinIndex > 1 ? kBlack : kWhite;
}

COLORREF AboutTextColor(int skinIndex) {
    return IsWarmSkin(skinIndex) ? kBlack : kAboutTextGrey;
}

std::optional<COLORREF> HotkeyLabelColor(int skinIndex) {
    if (skinIndex == 1) {
        return kWhite;
    }
    if (skinIndex == 2) {
        return kBlack;
    }
    return std::nullopt;
}

} // namespace skin
