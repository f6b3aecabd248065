#pragma once
// The pictures that are not buttons or backgrounds: window shape, splash,
// about picture, icons and the hand cursor.

#include <QImage>

namespace artgen {

// One bit per pixel: white outside the window outline, black inside.
[[nodiscard]] QImage DrawWindowShape();
[[nodiscard]] QImage DrawSplash(QSize size);
[[nodiscard]] QImage DrawAboutPicture(QSize size);
[[nodiscard]] QImage DrawProgramIcon(int pixels);
[[nodiscard]] QImage DrawTrackIcon(int pixels);
// A pointing hand with its finger tip at the hot spot; the hot spot travels in
// the text fields "HotSpotX" and "HotSpotY".
[[nodiscard]] QImage DrawHandCursor(int pixels, int hotSpotX, int hotSpotY);

} // namespace artgen
