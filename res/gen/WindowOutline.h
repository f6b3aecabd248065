#pragma once
// The silhouette of the main window, shared by every skin: a body with rounded
// corners, a raised title tab at the top left and a notch in each side between
// the play bar and the waveform display.

#include <QPainterPath>

namespace artgen {

[[nodiscard]] QPainterPath WindowOutline();

} // namespace artgen
