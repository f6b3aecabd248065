#pragma once
// The look of the progress windows' labels and buttons: the language's font
// face at 12 pixels and weight 100, the label text in RGB(141, 142, 157) on
// a transparent background.

#include <QWidget>

namespace controls {

void ApplyProgressFont(QWidget& widget);
void ApplyProgressLabelColour(QWidget& label);

} // namespace controls
