#include "disc/ProgressDialogLayout.h"

namespace disc {

namespace {

constexpr int kCancelGap = 5;
constexpr int kBarAboveCancel = 20;

// `rect` moved so that its top is at `top`.
PixelRect WithTop(const PixelRect& rect, int top) {
    return {rect.left, top, rect.right, top + rect.Height()};
}

} // namespace

ProgressDialogLayout LayOutProgressDialog(const PixelRect& window, const PixelRect& cancel,
                                          const PixelRect& firstBar, bool showFirstBar,
                                          bool showSecondBar) {
    ProgressDialogLayout layout{window, cancel, firstBar, showFirstBar, showSecondBar};
    if (showFirstBar && !showSecondBar) {
        const int lost = window.Height() / 5;
        layout.window.bottom -= lost;
        // Up by as much as the window lost, so it keeps its margin and lies
        // whole inside the window.
        layout.cancel = WithTop(cancel, cancel.top - lost);
        layout.firstBar = WithTop(firstBar, layout.cancel.top - kBarAboveCancel);
    } else if (!showFirstBar && !showSecondBar) {
        const int lost = window.Height() / 3;
        layout.window.bottom -= lost;
        layout.cancel = WithTop(cancel, cancel.top - lost - kCancelGap);
    }
    return layout;
}

} // namespace disc
