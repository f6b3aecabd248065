#pragma once
// The main window's dialog template (dialog 102): every control's rectangle in
// dialog units, and the one conversion from dialog units to pixels that the
// window and the artwork share, so the painted panels sit exactly under the
// controls.

#include <array>
#include <optional>

namespace res {

struct DialogRect {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

struct TemplateControl {
    int id = 0;
    DialogRect dlu; // dialog units
};

// The window is 186 x 321 dialog units and exactly 280 x 522 pixels.
inline constexpr int kMainDialogWidthDlu = 186;
inline constexpr int kMainDialogHeightDlu = 321;
inline constexpr int kMainWindowWidthPx = 280;
inline constexpr int kMainWindowHeightPx = 522;

inline constexpr int kMainDialogControlCount = 31;
extern const std::array<TemplateControl, kMainDialogControlCount> g_mainDialogControls;

// Horizontal and vertical dialog units to pixels, rounded to the nearest pixel.
[[nodiscard]] constexpr int DluToPixelsX(int dlu) {
    return (dlu * kMainWindowWidthPx * 2 + kMainDialogWidthDlu) / (kMainDialogWidthDlu * 2);
}
[[nodiscard]] constexpr int DluToPixelsY(int dlu) {
    return (dlu * kMainWindowHeightPx * 2 + kMainDialogHeightDlu) / (kMainDialogHeightDlu * 2);
}

// A rectangle in pixels: the edges are converted, so neighbouring controls
// stay neighbours after rounding.
[[nodiscard]] constexpr DialogRect DluToPixels(const DialogRect& dlu) {
    const int left = DluToPixelsX(dlu.x);
    const int top = DluToPixelsY(dlu.y);
    return {left, top, DluToPixelsX(dlu.x + dlu.cx) - left, DluToPixelsY(dlu.y + dlu.cy) - top};
}

// The pixel rectangle of control `id` of dialog 102; none for an unknown id.
[[nodiscard]] std::optional<DialogRect> MainDialogControlPixels(int id);

} // namespace res
