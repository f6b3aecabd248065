#pragma once
// Every colour the windows choose by skin number, in one place. Functions that
// return an empty optional mean "keep the control's default colour" for that
// skin index. Colours are 0x00BBGGRR.

#include "skin/SkinTable.h"

#include <optional>

namespace skin {

struct ListColors {
    COLORREF background = 0;
    COLORREF text = 0;
};

inline constexpr COLORREF kBlack = RGB(0, 0, 0);
inline constexpr COLORREF kWhite = RGB(255, 255, 255);
// The grey-blue of labels on dark skins and of the progress windows' captions.
inline constexpr COLORREF kLabelGreyBlue = RGB(141, 142, 157);
// The green of the time read-outs on skin 1 and of the progress bar.
inline constexpr COLORREF kReadoutGreen = RGB(0, 226, 0);
inline constexpr COLORREF kProgressBarColor = kReadoutGreen;
// The about box's text on skins other than 3 and 4.
inline constexpr COLORREF kAboutTextGrey = 0x9D8E8Du;

// Track list background and text (main window start-up).
[[nodiscard]] std::optional<ListColors> TrackListColors(int skinIndex);

// Time (1017) and length (1031) read-outs.
[[nodiscard]] std::optional<COLORREF> ReadoutTextColor(int skinIndex);

// The other labels of the main window: 1003, 1004, 1015, 1032, 1039, 1040,
// 1041, 1047 and 1058.
[[nodiscard]] COLORREF LabelTextColor(int skinIndex);

// The information banner's text: white for skin 1 (and lower indexes), black
// above.
[[nodiscard]] COLORREF BannerTextColor(int skinIndex);

// The about box's text (control 1028).
[[nodiscard]] COLORREF AboutTextColor(int skinIndex);

// The hotkey settings dialog's labels 1028, 1049 and 1052.
[[nodiscard]] std::optional<COLORREF> HotkeyLabelColor(int skinIndex);

} // namespace skin
