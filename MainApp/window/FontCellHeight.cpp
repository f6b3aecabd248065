#include "MainApp/window/FontCellHeight.h"

#include <QFontMetrics>

#include <algorithm>

namespace window {

void SetCellHeight(QFont& font, int cellPixels) {
    font.setPixelSize(cellPixels);
    const int cell = QFontMetrics(font).height();
    if (cell > 0 && cell != cellPixels) {
        font.setPixelSize(std::max(1, cellPixels * cellPixels / cell));
    }
}

} // namespace window
