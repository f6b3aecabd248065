#pragma once
// The save progress window's layout by its two flags (whether the first bar,
// control 1016, and the second bar, control 1020, are shown), computed from
// the template's rectangles so that the dialog only applies it:
//   both flags    - unchanged, both bars shown;
//   first only    - the second bar hidden, the window a fifth lower, the
//                   Cancel button that fifth higher (so it stays whole inside
//                   the window), the first bar's top 20 pixels above it;
//   neither       - both bars hidden, the window a third lower, the Cancel
//                   button that third and 5 pixels higher;
//   second only   - the first bar hidden, nothing moved.
// Rectangles are in pixels, right and bottom exclusive; moved controls keep
// their sizes.

namespace disc {

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    [[nodiscard]] int Height() const { return bottom - top; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct ProgressDialogLayout {
    PixelRect window;
    PixelRect cancel;
    PixelRect firstBar;
    bool firstBarShown = true;
    bool secondBarShown = true;
};

[[nodiscard]] ProgressDialogLayout LayOutProgressDialog(const PixelRect& window,
                                                        const PixelRect& cancel,
                                                        const PixelRect& firstBar,
                                                        bool showFirstBar, bool showSecondBar);

} // namespace disc
